#include "framework/TPageControl.h"

#include "framework/StdCtrls.h"

#include <commctrl.h>

TTabSheet::TTabSheet(TComponent* owner, TPageControl& pages, const std::wstring& caption)
    : TWinControl(owner) {
    CreateOwnWindow(L"TapestraTabSheet", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, pages.Handle(),
                    caption);
    AttachParent(pages);
}

LRESULT TTabSheet::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT brush = ControlColor(msg, wParam)) return brush;
    return TWinControl::WndProc(msg, wParam, lParam);
}

TPageControl::TPageControl(TComponent* owner, TWinControl& parent, int left, int top, int width, int height)
    : TWinControl(owner) {
    SetBounds(left, top, width, height);
    CreateSystemWindow(WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       WS_EX_CONTROLPARENT, parent);
}

TTabSheet& TPageControl::AddPage(const std::wstring& caption) {
    std::wstring text = caption;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));
    TTabSheet& page = Owner()->Own<TTabSheet>(*this, caption);
    pages_.push_back(&page);
    PlacePages();
    ShowActivePage();
    return page;
}

int TPageControl::ActivePageIndex() const {
    return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

void TPageControl::SetActivePageIndex(int index) {
    SendMessageW(Handle(), TCM_SETCURSEL, index, 0);
    ShowActivePage();
}

void TPageControl::PlacePages() {
    RECT r = ClientRect();
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    for (TTabSheet* page : pages_)
        page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::ShowActivePage() {
    int active = ActivePageIndex();
    for (int i = 0; i < PageCount(); ++i)
        ShowWindow(pages_[i]->Handle(), i == active ? SW_SHOW : SW_HIDE);
}

LRESULT TPageControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = TWinControl::WndProc(msg, wParam, lParam);
    // The tabs' height follows the font.
    if (msg == WM_SETFONT || msg == WM_SIZE) PlacePages();
    return result;
}

bool TPageControl::HandleNotify(NMHDR& header, LRESULT& result) {
    if (header.code != TCN_SELCHANGE) return false;
    ShowActivePage();
    result = 0;
    return true;
}
