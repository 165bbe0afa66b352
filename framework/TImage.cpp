#include "framework/TImage.h"

#include "framework/Handle.h"

TImage::TImage(TComponent* owner, TWinControl& parent) : TWinControl(owner) {
    CreateOwnWindow(L"TapestraImage", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent.Handle(), L"", 0,
                    nullptr);
    AttachParent(parent);
}

void TImage::PictureChanged() {
    if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TImage::SetAutoSize(bool value) {
    autoSize_ = value;
    PictureChanged();
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TImage::Paint(HDC dc, const RECT&) {
    RECT client = ClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (picture_.Empty()) return;
    RECT target = stretch_ ? client : RECT{0, 0, picture_.Width(), picture_.Height()};
    picture_.Draw(dc, target);
}

LRESULT TImage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Painted whole in Paint, so the picture does not flicker.
    if (msg == WM_ERASEBKGND) return 1;
    return TWinControl::WndProc(msg, wParam, lParam);
}
