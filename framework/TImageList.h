#pragma once
// An image list of equally sized images, loaded from a bitmap strip whose
// magenta pixels are transparent.
#include "framework/TComponent.h"

#include <windows.h>

#include <commctrl.h>

class TImageList : public TComponent {
  public:
    // Loads the strip from a bitmap resource of the program.
    TImageList(TComponent* owner, const wchar_t* resourceName, int width, int height);
    ~TImageList() override;
    HIMAGELIST Handle() const { return list_; }
    int Count() const { return ImageList_GetImageCount(list_); }

  private:
    HIMAGELIST list_ = nullptr;
};
