#pragma once
// An image list owned for the lifetime of its window's dialog: destroyed with
// the object.
#include <windows.h>
#include <commctrl.h>

#include "framework/handle.h"

struct ImageListTraits {
    using Type = HIMAGELIST;
    static constexpr HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
};

class CImageList {
public:
    // False when the list could not be created; the object then holds none.
    [[nodiscard]] bool Create(int width, int height, UINT flags, int initial, int grow);
    // Appends an icon; its index, or -1 (also when there is no list).
    int Add(HICON icon) const;
    [[nodiscard]] HIMAGELIST GetSafeHandle() const { return list_.get(); }

private:
    UniqueHandle<ImageListTraits> list_;
};
