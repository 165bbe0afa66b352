#include "framework/TLabel.h"

#include "framework/Fonts.h"

TLabel::TLabel(TComponent* owner, TWinControl& parent) : TGraphicControl(owner) {
    CreateOwnWindow(L"TapestraLabel", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent.Handle(), L"", 0,
                    nullptr);
    AttachParent(parent);
}

void TLabel::SetCaption(const std::wstring& caption) {
    SetText(caption);
    AdjustSize();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::SetFont(const std::wstring& face, int height, bool bold) {
    font_ = CreateFontOf(face, height, bold);
    AdjustSize();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::SetColor(COLORREF color) {
    color_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!autoSize_) return;
    WindowDC screen(nullptr);
    HFONT font = font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectGuard select(screen.get(), font);
    std::wstring text = Text();
    RECT r{0, 0, 0, 0};
    // An empty text keeps the height of one line.
    DrawTextW(screen.get(), text.empty() ? L" " : text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
    SetBounds(Left(), Top(), text.empty() ? 0 : r.right, r.bottom);
}

void TLabel::Paint(HDC dc) {
    RECT r = ClientRect();
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    HFONT font = font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectGuard select(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color_);
    UINT format = DT_NOPREFIX | DT_SINGLELINE;
    if (alignment_ == TAlignment::Center) format |= DT_CENTER;
    if (alignment_ == TAlignment::RightJustify) format |= DT_RIGHT;
    std::wstring text = Text();
    DrawTextW(dc, text.c_str(), -1, &r, format);
}

LRESULT TLabel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Clicks go to what lies below, as on a label drawn by its parent.
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return TGraphicControl::WndProc(msg, wParam, lParam);
}
