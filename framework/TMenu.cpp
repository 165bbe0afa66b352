#include "framework/TMenu.h"

#include <map>

namespace {
// The command identifiers in use, and the item each one runs.
std::map<UINT, TMenuItem*>& Commands() {
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

UINT NextCommand() {
    UINT id = 100;
    while (Commands().contains(id))
        ++id;
    return id;
}

void Append(HMENU menu, TMenuItem& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    std::wstring caption = item.Caption();
    if (item.IsSeparator()) {
        info.fMask = MIIM_FTYPE | MIIM_ID;
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE;
        info.dwTypeData = caption.data();
        info.fState = MFS_ENABLED;
    }
    info.wID = item.Command();
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
}
} // namespace

TMenuItem::TMenuItem(TComponent* owner, HMENU parentMenu, const std::wstring& caption,
                     std::function<void()> onClick)
    : TComponent(owner), OnClick(std::move(onClick)), parentMenu_(parentMenu), caption_(caption),
      command_(NextCommand()) {
    Commands()[command_] = this;
    Append(parentMenu_, *this);
}

TMenuItem::~TMenuItem() {
    DestroyComponents();
    Commands().erase(command_);
    // Detach from the parent menu; our own submenu goes with subMenu_.
    if (parentMenu_ && IsMenu(parentMenu_)) RemoveMenu(parentMenu_, command_, MF_BYCOMMAND);
}

HMENU TMenuItem::EnsureSubMenu() {
    if (!subMenu_) {
        subMenu_.reset(CreatePopupMenu());
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = subMenu_.get();
        SetMenuItemInfoW(parentMenu_, command_, FALSE, &info);
    }
    return subMenu_.get();
}

TMenuItem& TMenuItem::Add(const std::wstring& caption, std::function<void()> onClick) {
    TMenuItem& item = Own<TMenuItem>(EnsureSubMenu(), caption, std::move(onClick));
    items_.push_back(&item);
    Changed();
    return item;
}

TComponent* TMenuItem::Root() const {
    const TMenuItem* item = this;
    while (TMenuItem* parent = item->Parent())
        item = parent;
    return item->Owner();
}

bool TMenuItem::IsBarItem() const {
    return !Parent() && dynamic_cast<TMainMenu*>(Owner());
}

int TMenuItem::MenuIndex() const {
    int count = GetMenuItemCount(parentMenu_);
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(parentMenu_, i) == command_ ||
            (subMenu_ && GetSubMenu(parentMenu_, i) == subMenu_.get()))
            return i;
    return -1;
}

void TMenuItem::Changed() {
    if (auto* bar = dynamic_cast<TMainMenu*>(Root()); bar && bar->Window())
        SendMessageW(bar->Window(), CM_MENUCHANGED, 0, 0);
}

void TMenuItem::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = caption_.data();
    SetMenuItemInfoW(parentMenu_, command_, FALSE, &info);
    Changed();
}

void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    UpdateState();
}

void TMenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    UpdateState();
}

void TMenuItem::SetDefault(bool value) {
    default_ = value;
    UpdateState();
}

void TMenuItem::SetRadioItem(bool value) {
    radioItem_ = value;
    UpdateType();
}

void TMenuItem::SetBreak(TMenuBreak value) {
    break_ = value;
    UpdateType();
}

void TMenuItem::SetShortCutText(const std::wstring& text) {
    shortCutText_ = text;
    Changed();
}

void TMenuItem::UpdateState() {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = (checked_ ? MFS_CHECKED : 0u) | (enabled_ ? MFS_ENABLED : MFS_DISABLED) |
                  (default_ ? MFS_DEFAULT : 0u);
    SetMenuItemInfoW(parentMenu_, command_, FALSE, &info);
    Changed();
}

void TMenuItem::UpdateType() {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(parentMenu_, command_, FALSE, &info);
    info.fType &= ~(MFT_RADIOCHECK | MFT_MENUBREAK | MFT_MENUBARBREAK);
    info.fType |= (radioItem_ ? MFT_RADIOCHECK : 0u) | (break_ == TMenuBreak::Break ? MFT_MENUBREAK : 0u) |
                  (break_ == TMenuBreak::BarBreak ? MFT_MENUBARBREAK : 0u);
    SetMenuItemInfoW(parentMenu_, command_, FALSE, &info);
    Changed();
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick();
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

bool TMenuItem::DispatchCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0 || HIWORD(wParam) != 0) return false;
    TMenuItem* item = FindCommand(LOWORD(wParam));
    if (!item) return false;
    item->Click();
    return true;
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner), menu_(CreateMenu()) {}

TMainMenu::~TMainMenu() {
    DestroyComponents();
}

TMenuItem& TMainMenu::Add(const std::wstring& caption, std::function<void()> onClick) {
    TMenuItem& item = Own<TMenuItem>(menu_.get(), caption, std::move(onClick));
    items_.push_back(&item);
    if (window_) SendMessageW(window_, CM_MENUCHANGED, 0, 0);
    return item;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), menu_(CreatePopupMenu()) {}

TPopupMenu::~TPopupMenu() {
    DestroyComponents();
}

TMenuItem& TPopupMenu::Add(const std::wstring& caption, std::function<void()> onClick) {
    TMenuItem& item = Own<TMenuItem>(menu_.get(), caption, std::move(onClick));
    items_.push_back(&item);
    return item;
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
    if (OnPopup) OnPopup();
    TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}
