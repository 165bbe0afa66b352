#include "framework/TRadioGroup.h"

TRadioGroup::TRadioGroup(TComponent* owner, TWinControl& parent, const std::wstring& caption,
                         const std::vector<std::wstring>& items, int left, int top, int width, int height)
    : TWinControl(owner) {
    SetBounds(left, top, width, height);
    CreateOwnWindow(L"TapestraRadioGroup", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                    parent.Handle());
    AttachParent(parent);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, width, height,
                    Handle(), nullptr, instance, nullptr);
    int rowHeight = items.empty() ? 0 : (height - 20) / static_cast<int>(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        buttons_.push_back(CreateWindowExW(
            0, L"BUTTON", items[i].c_str(), style, 8, 16 + static_cast<int>(i) * rowHeight, width - 14,
            rowHeight, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), instance, nullptr));
    }
}

void TRadioGroup::SetItemIndex(int index) {
    index_ = index >= 0 && index < Count() ? index : -1;
    for (size_t i = 0; i < buttons_.size(); ++i)
        SendMessageW(buttons_[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT TRadioGroup::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        int index = LOWORD(wParam) - 1;
        // A click on the item already selected is no change.
        if (index >= 0 && index < Count() && index != index_) {
            SetItemIndex(index);
            if (OnClick) OnClick();
        }
        return 0;
    }
    if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
