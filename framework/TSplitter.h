#pragma once
// A thin bar between aligned controls; dragging it resizes the control it
// follows (the one aligned to the same side before it).
#include "framework/TWinControl.h"

class TSplitter : public TWinControl {
  public:
    // align is Top or Left; resized is the control whose height or width changes.
    TSplitter(TComponent* owner, TWinControl& parent, TAlign align, int thickness, TWinControl& resized);
    int MinSize = 30;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    TWinControl& resized_;
    bool vertical_;
    bool dragging_ = false;
    int startMouse_ = 0;
    int startSize_ = 0;
};
