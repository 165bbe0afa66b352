#pragma once
// The standard hint window: a borderless popup in the tool-tip colours with
// one text, shown at a rectangle without taking the focus. Derived classes
// change its shape and painting.
#include "framework/Handle.h"
#include "framework/TWinControl.h"

#include <string>

class THintWindow : public TWinControl {
  public:
    explicit THintWindow(TComponent* owner);

    // Shows the text at the screen rectangle.
    virtual void ActivateHint(RECT rect, const std::wstring& text);
    // Hides the hint and frees its window; the next hint makes a new one.
    void ReleaseHandle();
    // The rectangle the standard hint takes for the text at the origin.
    RECT CalcHintRect(int maxWidth, const std::wstring& text);
    std::wstring Caption() const { return caption_; }
    HFONT Font() const { return font_.get(); }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& update) override;
    // The standard look: info colour, one-pixel frame, the text wrapped.
    void PaintStandard(HDC dc);

  private:
    std::wstring caption_;
    UniqueFont font_;
};
