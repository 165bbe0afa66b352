#include "framework/Controls.h"

#include "framework/Handle.h"

#include <commctrl.h>

TPanel::TPanel(TComponent* owner, TWinControl& parent) : TWinControl(owner) {
    CreateOwnWindow(L"TapestraPanel", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    WS_EX_CONTROLPARENT, parent.Handle());
    AttachParent(parent);
}

void TPanel::SetBevels(TBevel outer, TBevel inner) {
    BevelOuter = outer;
    BevelInner = inner;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TPanel::Paint(HDC dc, const RECT&) {
    RECT r = ClientRect();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    auto edge = [&](TBevel bevel) {
        if (bevel == TBevel::None) return;
        DrawEdge(dc, &r, bevel == TBevel::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    };
    edge(BevelOuter);
    edge(BevelInner);
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Painted whole in Paint.
    if (msg == WM_ERASEBKGND) return 1;
    return TWinControl::WndProc(msg, wParam, lParam);
}

TStatusBar::TStatusBar(TComponent* owner, TWinControl& parent) : TWinControl(owner) {
    CreateSystemWindow(STATUSCLASSNAMEW, WS_VISIBLE | SBARS_SIZEGRIP, 0, parent);
    SendMessageW(Handle(), SB_SIMPLE, TRUE, 0);
    SetHeight(MeasuredHeight());
    SetAlign(TAlign::Bottom);
}

int TStatusBar::MeasuredHeight() const {
    RECT r;
    GetWindowRect(Handle(), &r);
    return r.bottom - r.top;
}

void TStatusBar::SetBarHeight(int height) {
    // The minimum is that of the drawing area, inside borders whose count
    // differs between systems: set, measure, and set again by the difference.
    int minimum = height;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SendMessageW(Handle(), SB_SETMINHEIGHT, minimum, 0);
        SendMessageW(Handle(), WM_SIZE, 0, 0);
        minimum -= MeasuredHeight() - height;
    }
    SetHeight(MeasuredHeight());
}

void TStatusBar::SetSimpleText(const std::wstring& text) {
    text_ = text;
    SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text_.c_str()));
}

TTimer::TTimer(TComponent* owner) : TWinControl(owner) {
    CreateOwnWindow(L"TapestraTimer", 0, 0, HWND_MESSAGE);
    Restart();
}

void TTimer::SetInterval(unsigned ms) {
    interval_ = ms;
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void TTimer::Restart() {
    KillTimer(Handle(), 1);
    if (enabled_ && interval_ > 0) SetTimer(Handle(), 1, interval_, nullptr);
}

LRESULT TTimer::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == 1) {
        if (OnTimer) OnTimer();
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
