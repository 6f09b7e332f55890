#include "framework/image_list.h"

bool CImageList::Create(int width, int height, UINT flags, int initial, int grow) {
    list_.reset(ImageList_Create(width, height, flags, initial, grow));
    return list_.valid();
}

int CImageList::Add(HICON icon) const {
    if (!list_) return -1;
    return ImageList_ReplaceIcon(list_.get(), -1, icon);
}
