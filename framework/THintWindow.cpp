#include "framework/THintWindow.h"

namespace {
const UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXTERNALLEADING;
}

THintWindow::THintWindow(TComponent* owner) : TWinControl(owner) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font_.reset(CreateFontIndirectW(&metrics.lfStatusFont));
}

void THintWindow::ActivateHint(RECT rect, const std::wstring& text) {
    caption_ = text;
    if (!Handle())
        CreateOwnWindow(L"THintWindow", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, L"",
                        CS_SAVEBITS, GetSysColorBrush(COLOR_INFOBK));
    SetText(text);
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    InvalidateRect(Handle(), nullptr, TRUE);
    UpdateWindow(Handle());
}

void THintWindow::ReleaseHandle() {
    if (Handle()) DestroyWindow(Handle());
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::wstring& text) {
    RECT rect{0, 0, maxWidth, 0};
    WindowDC screen(nullptr);
    SelectGuard font(screen.get(), font_.get());
    DrawTextW(screen.get(), text.c_str(), -1, &rect, DT_CALCRECT | kTextFormat);
    rect.right += 6;
    rect.bottom += 2;
    return rect;
}

void THintWindow::PaintStandard(HDC dc) {
    RECT rect;
    GetClientRect(Handle(), &rect);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_INFOBK));
    InflateRect(&rect, -2, -1);
    SelectGuard font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextW(dc, caption_.c_str(), -1, &rect, kTextFormat);
}

void THintWindow::Paint(HDC dc, const RECT&) {
    PaintStandard(dc);
}

LRESULT THintWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
