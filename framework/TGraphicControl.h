#pragma once
// A control of our own that paints its whole client area in Paint: on
// WM_PAINT, and into a given DC on WM_PRINTCLIENT. The background is never
// erased first, so it does not flicker.
#include "framework/TWinControl.h"

class TGraphicControl : public TWinControl {
  public:
    using TWinControl::TWinControl;

  protected:
    virtual void Paint(HDC dc) = 0;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            Paint(dc);
            EndPaint(Handle(), &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        return TWinControl::WndProc(msg, wParam, lParam);
    }
};
