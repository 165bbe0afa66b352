#pragma once
// A captioned group of radio buttons, one item index.
#include "framework/TWinControl.h"

#include <functional>
#include <string>
#include <vector>

class TRadioGroup : public TWinControl {
  public:
    TRadioGroup(TComponent* owner, TWinControl& parent, const std::wstring& caption,
                const std::vector<std::wstring>& items, int left, int top, int width, int height);
    // -1 when no item is selected.
    int ItemIndex() const { return index_; }
    // Selects an item (-1: none). Only a user's choice raises OnClick.
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    std::function<void()> OnClick;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    std::vector<HWND> buttons_;
    int index_ = -1;
};
