#include "framework/TSplitter.h"

#include <windowsx.h>

#include <algorithm>

TSplitter::TSplitter(TComponent* owner, TWinControl& parent, TAlign align, int thickness,
                     TWinControl& resized)
    : TWinControl(owner), resized_(resized), vertical_(align == TAlign::Left) {
    CreateOwnWindow(L"TapestraSplitter", WS_CHILD | WS_VISIBLE, 0, parent.Handle());
    AttachParent(parent);
    if (vertical_)
        SetWidth(thickness);
    else
        SetHeight(thickness);
    SetAlign(align);
}

LRESULT TSplitter::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, vertical_ ? IDC_SIZEWE : IDC_SIZENS));
        return TRUE;
    case WM_LBUTTONDOWN: {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Handle(), &pt);
        dragging_ = true;
        startMouse_ = vertical_ ? pt.x : pt.y;
        startSize_ = vertical_ ? resized_.Width() : resized_.Height();
        SetCapture(Handle());
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(Handle(), &pt);
            int size = std::max<int>(MinSize, startSize_ + (vertical_ ? pt.x : pt.y) - startMouse_);
            if (vertical_)
                resized_.SetWidth(size);
            else
                resized_.SetHeight(size);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (msg == WM_LBUTTONUP) ReleaseCapture();
        }
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
