#pragma once
// The tree-view control, through the ANSI forms of its messages. Non-owning,
// like the other control wrappers; the dialog's template creates the window.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"

class CTreeCtrl : public CWnd {
public:
    using CWnd::CWnd;

    // The new item, or null. Text, image and selected image are all set.
    HTREEITEM InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent,
                         HTREEITEM after) const;
    bool DeleteItem(HTREEITEM item) const { return SendMessage(TVM_DELETEITEM, 0, Param(item)) != 0; }

    bool GetItem(TVITEMA& item) const { return SendMessage(TVM_GETITEMA, 0, Param(&item)) != 0; }
    bool SetItem(TVITEMA& item) const { return SendMessage(TVM_SETITEMA, 0, Param(&item)) != 0; }
    bool SetItemImage(HTREEITEM item, int image, int selectedImage) const;
    bool SetItemState(HTREEITEM item, UINT state, UINT mask) const;

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, Param(item)));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }

    bool Expand(HTREEITEM item, UINT action) const { return SendMessage(TVM_EXPAND, action, Param(item)) != 0; }
    bool SelectItem(HTREEITEM item) const { return SendMessage(TVM_SELECTITEM, TVGN_CARET, Param(item)) != 0; }
    bool EnsureVisible(HTREEITEM item) const { return SendMessage(TVM_ENSUREVISIBLE, 0, Param(item)) != 0; }
    void SetImageList(HIMAGELIST list, int which) const { SendMessage(TVM_SETIMAGELIST, which, Param(list)); }

    // Adds window styles in place; the frame is not recalculated.
    void AddStyle(DWORD style) const;

private:
    template <class T>
    static LPARAM Param(T value) {
        return reinterpret_cast<LPARAM>(value);
    }
};
