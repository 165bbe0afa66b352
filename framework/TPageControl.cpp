#include "framework/TPageControl.h"

#include "framework/StdCtrls.h"

#include <commctrl.h>

TTabSheet::TTabSheet(TComponent* owner, TPageControl& pages, const std::wstring& caption)
    : TWinControl(owner) {
    // Beside the tab control, not in it: a control parent inside it would hide
    // the tabs from the dialog manager. No WS_CLIPSIBLINGS: the tab control
    // lies under the whole page.
    CreateOwnWindow(L"TapestraTabSheet", WS_CHILD, WS_EX_CONTROLPARENT, GetParent(pages.Handle()), caption);
    SetWindowPos(Handle(), pages.Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AttachParent(pages);
}

LRESULT TTabSheet::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT brush = ControlColor(msg, wParam)) return brush;
    return TWinControl::WndProc(msg, wParam, lParam);
}

TPageControl::TPageControl(TComponent* owner, TWinControl& parent, int left, int top, int width, int height)
    : TWinControl(owner) {
    SetBounds(left, top, width, height);
    CreateSystemWindow(WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, parent);
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

bool TPageControl::DialogKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) & 0x8000, shift = GetKeyState(VK_SHIFT) & 0x8000;
    int step = 0;
    if (control && key == VK_TAB) step = shift ? -1 : 1;
    if (control && key == VK_NEXT) step = 1;
    if (control && key == VK_PRIOR) step = -1;
    if (step == 0 || PageCount() == 0 || !IsWindowVisible(Handle()) || !IsWindowEnabled(Handle()))
        return TWinControl::DialogKey(key);
    HWND focus = GetFocus();
    bool focusOnPage = focus && IsChild(Page(ActivePageIndex()).Handle(), focus);
    SetActivePageIndex((ActivePageIndex() + step + PageCount()) % PageCount());
    // The focus never stays on a page that went away: it goes to the tabs.
    if (focusOnPage) SetFocus(Handle());
    return true;
}

RECT TPageControl::PageArea() const {
    RECT r = ClientRect();
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TPageControl::PlacePages() {
    RECT r = PageArea();
    for (TTabSheet* page : pages_)
        page->SetBounds(Left() + r.left, Top() + r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::ShowActivePage() {
    int active = ActivePageIndex();
    for (int i = 0; i < PageCount(); ++i)
        ShowWindow(pages_[i]->Handle(), i == active ? SW_SHOW : SW_HIDE);
}

LRESULT TPageControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The tab control paints around the page that lies over it, never on it.
    if (msg == WM_ERASEBKGND && !pages_.empty()) {
        RECT page = PageArea();
        ExcludeClipRect(reinterpret_cast<HDC>(wParam), page.left, page.top, page.right, page.bottom);
    } else if (msg == WM_PAINT && !wParam && !pages_.empty()) {
        PaintGuard paint(Handle());
        RECT page = PageArea();
        ExcludeClipRect(paint.get(), page.left, page.top, page.right, page.bottom);
        return TWinControl::WndProc(msg, reinterpret_cast<WPARAM>(paint.get()), 0);
    }
    LRESULT result = TWinControl::WndProc(msg, wParam, lParam);
    // The tabs' height follows the font; the pages follow the control.
    if (msg == WM_SETFONT || msg == WM_SIZE || msg == WM_MOVE) PlacePages();
    return result;
}

bool TPageControl::HandleNotify(NMHDR& header, LRESULT& result) {
    if (header.code != TCN_SELCHANGE) return false;
    ShowActivePage();
    result = 0;
    return true;
}
