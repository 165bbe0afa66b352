#include "framework/TImageList.h"

#include "framework/Handle.h"

TImageList::TImageList(TComponent* owner, const wchar_t* resourceName, int width, int height)
    : TComponent(owner), list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 16, 4)) {
    UniqueBitmap strip{static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
    if (strip) ImageList_AddMasked(list_, strip.get(), RGB(255, 0, 255));
}

TImageList::~TImageList() {
    if (list_) ImageList_Destroy(list_);
}
