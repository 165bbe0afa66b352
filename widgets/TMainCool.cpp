#include "widgets/TMainCool.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"

#include <commctrl.h>

#include <cwctype>

int TMainCool::lastPosition_ = -1;
int TMainCool::previousPosition_ = -1;

TMainCool::TMainCool(TComponent* owner) : TCoolMenu(owner) {
    // Only a form's window is hooked; under anything else the component stays inert.
    auto* form = dynamic_cast<TForm*>(owner);
    if (!form || !form->Handle()) return;
    hook_.Attach(form->Handle(), [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return FormProc(msg, wParam, lParam);
    });
}

void TMainCool::SetDefaultFont(bool value) {
    TCoolMenu::SetDefaultFont(value);
    if (Hooked()) DrawMenuBar(Hooked());
}

LRESULT TMainCool::FormProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto previous = [&] { return hook_.Next(msg, wParam, lParam); };
    if (!Menu()) return previous();
    switch (msg) {
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType == ODT_MENU && draw->itemData)
            if (TCoolMenu* menu = FromItemData(draw->itemData)) return menu->DrawItemMessage(*draw);
        return previous();
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (wParam == 0 && measure->itemData && measure->CtlType == ODT_MENU)
            if (TCoolMenu* menu = FromItemData(measure->itemData)) return menu->MeasureItemMessage(*measure);
        return previous();
    }
    case WM_SETCURSOR: {
        HotTrack(lParam);
        LRESULT result = previous();
        CursorRule(lParam);
        return result;
    }
    case WM_ENTERMENULOOP:
        menuLoop_ = true;
        return previous();
    case WM_EXITMENULOOP:
        menuLoop_ = false;
        DrawMenuBar(Hooked());
        return previous();
    case WM_ACTIVATE: {
        // Only windows of this program are touched.
        HWND other = reinterpret_cast<HWND>(lParam);
        if (other && GetWindowThreadProcessId(other, nullptr) == GetCurrentThreadId()) {
            if (LOWORD(wParam) != WA_INACTIVE)
                PostMessageW(other, WM_NCACTIVATE, 1, 0);
            else
                DrawMenuBar(other);
        }
        return previous();
    }
    case WM_MENUCHAR: {
        LRESULT answer = 0;
        if (MenuChar(wParam, reinterpret_cast<HMENU>(lParam), answer)) return answer;
        return previous();
    }
    case CM_MENUCHANGED:
        ApplyOwnerDrawAll();
        return 0;
    case WM_ENTERIDLE:
        EnterIdle();
        return previous();
    case WM_MENUSELECT:
        return MenuSelectMessage(wParam, lParam);
    }
    return previous();
}

bool TMainCool::FormActive() const {
    return GetActiveWindow() == Hooked();
}

bool TMainCool::BarItemEnabled(int index) const {
    const auto* items = RootItems();
    return items && index >= 0 && index < static_cast<int>(items->size()) && (*items)[index]->Enabled();
}

void TMainCool::DrawBarItem(int position, bool raised) {
    const auto* items = RootItems();
    if (!items || position < 0 || position >= static_cast<int>(items->size())) return;
    RECT rect{}, window{};
    if (!GetMenuItemRect(Hooked(), MenuHandle(), position, &rect)) return;
    // Window-relative: the form's own DC never paints over another window.
    GetWindowRect(Hooked(), &window);
    OffsetRect(&rect, -window.left, -window.top);
    HDC dc = GetWindowDC(Hooked());
    if (!dc) return;
    if (raised) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_TOPLEFT);
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_SOFT | BF_BOTTOMRIGHT);
    } else {
        DrawBarItemFlat(dc, rect, (*items)[position]->Caption());
    }
    ReleaseDC(Hooked(), dc);
}

void TMainCool::HotTrack(LPARAM lParam) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const int pos = MenuItemFromPoint(Hooked(), MenuHandle(), cursor);
    if (MenuStyle != TMenuStyle::msOffice || menuLoop_) {
        hot_ = previousHot_ = -1;
        return;
    }
    if (LOWORD(lParam) == HTMENU && FormActive()) {
        if (pos == lastPosition_) return;
        previousPosition_ = lastPosition_;
        lastPosition_ = pos;
        if (pos >= 0) {
            previousHot_ = hot_;
            hot_ = pos;
            if (BarItemEnabled(hot_)) DrawBarItem(pos, true);
            if (previousHot_ >= 0 && BarItemEnabled(previousHot_)) DrawBarItem(previousPosition_, false);
        } else {
            if (hot_ >= 0) DrawBarItem(previousPosition_, false);
            hot_ = previousHot_ = -1;
        }
        return;
    }
    if (pos == lastPosition_) return;
    previousPosition_ = lastPosition_;
    lastPosition_ = pos;
    previousHot_ = hot_;
    hot_ = pos;
    if (previousHot_ >= 0) DrawBarItem(previousPosition_, false);
    previousPosition_ = previousHot_ = -1;
}

void TMainCool::CursorRule(LPARAM lParam) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (MenuItemFromPoint(Hooked(), MenuHandle(), cursor) >= 0 && FormActive() &&
        (LOWORD(lParam) == HTMENU || HIWORD(lParam) == 0))
        SetCursor(Cursor);
}

bool TMainCool::MenuChar(WPARAM wParam, HMENU menu, LRESULT& answer) const {
    const std::vector<TMenuItem*>* items = nullptr;
    if (menu == MenuHandle()) {
        items = RootItems();
    } else if (TMenuItem* parent = FindBySubMenu(menu); parent && (HIWORD(wParam) & MF_POPUP) && IsMainMenu()) {
        items = &parent->Items();
    }
    if (!items) return false;
    // Wide windows get the whole UTF-16 character.
    // Every item is visible: the position is the item's index.
    const wchar_t typed = static_cast<wchar_t>(LOWORD(wParam));
    for (size_t i = 0; i < items->size(); ++i) {
        const std::wstring caption = (*items)[i]->Caption();
        const size_t amp = caption.find(L'&');
        if (amp == std::wstring::npos || amp + 1 >= caption.size()) continue;
        if (std::towupper(caption[amp + 1]) == std::towupper(typed)) {
            answer = MAKELONG(i, MNC_EXECUTE);
            return true;
        }
    }
    answer = MAKELONG(0, MNC_IGNORE);
    return true;
}

TMenuItem* TMainCool::FindBySubMenu(HMENU subMenu) const {
    const auto* items = RootItems();
    if (!items || !subMenu) return nullptr;
    std::vector<TMenuItem*> pending(items->begin(), items->end());
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        if (item->SubMenu() == subMenu) return item;
        pending.insert(pending.end(), item->Items().begin(), item->Items().end());
    }
    return nullptr;
}

LRESULT TMainCool::MenuSelectMessage(WPARAM wParam, LPARAM lParam) {
    const UINT flags = HIWORD(wParam);
    const HMENU menu = reinterpret_cast<HMENU>(lParam);
    ReleaseCapture();
    if (!(flags & MF_MOUSESELECT) || (flags & MF_SYSMENU)) {
        if (ShowHint) HideItemHint();
        SetRectEmpty(&hintRect_);
        return hook_.Next(WM_MENUSELECT, wParam, lParam);
    }
    SetRectEmpty(&hintRect_);
    if ((ShowHint && flags == 0xFFFF && !menu) || (flags & MF_SEPARATOR)) {
        HideItemHint();
        return 0;
    }
    TMenuItem* item = nullptr;
    int index = LOWORD(wParam);
    if (flags & MF_POPUP) {
        item = FindBySubMenu(GetSubMenu(menu, index));
    } else if ((item = TMenuItem::FindCommand(LOWORD(wParam)))) {
        index = item->MenuIndex();
    }
    if (!item) {
        if (ShowHint) HideItemHint();
        return 0;
    }
    const std::wstring hint = HintOf(*item);
    MenuSelect(*item, hint);
    POINT cursor{};
    GetCursorPos(&cursor);
    const bool found = GetMenuItemRect(WindowFromPoint(cursor), menu, index, &hintRect_);
    if (!ShowHint) return 0;
    if (found && PtInRect(&hintRect_, cursor) && menu != MenuHandle() && !hint.empty())
        ShowItemHint(hint);
    else
        HideItemHint();
    return 0;
}

void TMainCool::EnterIdle() {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!PtInRect(&hintRect_, cursor)) {
        if (ShowHint) HideItemHint();
        SetCursor(loadedCursor_);
    } else {
        SetCursor(Cursor);
    }
}
