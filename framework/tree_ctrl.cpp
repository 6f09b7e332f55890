#include "framework/tree_ctrl.h"

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) const {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    // The control copies the text; it never writes through this pointer.
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, Param(&insert)));
}

bool CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) const {
    TVITEMA change{};
    change.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    change.hItem = item;
    change.iImage = image;
    change.iSelectedImage = selectedImage;
    return SetItem(change);
}

bool CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask) const {
    TVITEMA change{};
    change.mask = TVIF_HANDLE | TVIF_STATE;
    change.hItem = item;
    change.state = state;
    change.stateMask = mask;
    return SetItem(change);
}

void CTreeCtrl::AddStyle(DWORD style) const {
    const LONG current = GetWindowLongA(m_hWnd, GWL_STYLE);
    SetWindowLongA(m_hWnd, GWL_STYLE, current | static_cast<LONG>(style));
}
