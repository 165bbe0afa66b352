#pragma once
// A one-line static text in its own font and colour, aligned left, centred or
// right in its bounds. With AutoSize (the default) it takes the size of its text.
#include "framework/Handle.h"
#include "framework/TGraphicControl.h"

#include <string>

enum class TAlignment { LeftJustify, Center, RightJustify };

class TLabel : public TGraphicControl {
  public:
    TLabel(TComponent* owner, TWinControl& parent);

    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& caption);
    void SetFont(const std::wstring& face, int height, bool bold = false);
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

  private:
    void AdjustSize();

    UniqueFont font_;
    COLORREF color_ = RGB(0, 0, 0);
    TAlignment alignment_ = TAlignment::LeftJustify;
    bool autoSize_ = true;
};
