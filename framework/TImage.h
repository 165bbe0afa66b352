#pragma once
// A control that owns a picture and paints it: at its natural size in the top
// left corner, or stretched over the whole control. With AutoSize the control
// takes the picture's size whenever the picture changes.
#include "framework/TPicture.h"
#include "framework/TWinControl.h"

class TImage : public TWinControl {
  public:
    TImage(TComponent* owner, TWinControl& parent);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    // Tells the control that its picture changed: resize (AutoSize) and repaint.
    void PictureChanged();

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& update) override;

  private:
    TPicture picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
};
