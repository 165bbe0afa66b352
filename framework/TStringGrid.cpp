#include "framework/TStringGrid.h"

#include <algorithm>

TStringGrid::TStringGrid(TComponent* owner, TWinControl& parent) : TWinControl(owner) {
    CreateSystemWindow(L"LISTBOX",
                       WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                       WS_EX_CLIENTEDGE, parent);
    Refill();
}

void TStringGrid::SetRowCount(int count) {
    count = std::max(count, 1);
    rows_.resize(count);
    row_ = std::min(row_, count - 1);
    Refill();
}

std::wstring TStringGrid::Cell(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    return rows_[row];
}

void TStringGrid::SetCell(int row, const std::wstring& text) {
    if (row < 0 || row >= RowCount()) return;
    rows_[row] = text;
    SendMessageW(Handle(), LB_DELETESTRING, row, 0);
    SendMessageW(Handle(), LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str()));
    ShowCurrent();
}

void TStringGrid::SetRows(std::vector<std::wstring> rows) {
    if (rows.empty()) rows.emplace_back();
    rows_ = std::move(rows);
    row_ = std::min(row_, RowCount() - 1);
    Refill();
}

void TStringGrid::SetRow(int row) {
    if (row < 0 || row >= RowCount() || row == row_) {
        ShowCurrent();
        return;
    }
    row_ = row;
    ShowCurrent();
    if (OnClick) OnClick();
}

void TStringGrid::Refill() {
    HWND list = Handle();
    // The rows go straight to the list box's own procedure: every message
    // through the subclass chain costs a round trip on some systems (Wine keeps
    // the chain in a window property), and a thousand rows would be felt.
    auto listProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, rows_.size(), rows_.size() * 64);
    int widest = 0;
    for (const auto& text : rows_) {
        CallWindowProcW(listProc, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        widest = std::max<int>(widest, static_cast<int>(text.size()));
    }
    // Long paths scroll sideways rather than being cut off.
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest * 8, 0);
    ShowCurrent();
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void TStringGrid::ShowCurrent() {
    SendMessageW(Handle(), LB_SETCURSEL, row_, 0);
}

bool TStringGrid::HandleCommand(WORD, WORD code) {
    if (code == LBN_SELCHANGE) {
        int selected = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
        if (selected >= 0) row_ = selected;
        if (OnClick) OnClick();
        return true;
    }
    if (code == LBN_DBLCLK) {
        if (OnDblClick) OnDblClick();
        return true;
    }
    return false;
}

bool TStringGrid::CurrentItemRect(RECT& item) const {
    return SendMessageW(Handle(), LB_GETITEMRECT, row_, reinterpret_cast<LPARAM>(&item)) != LB_ERR;
}
