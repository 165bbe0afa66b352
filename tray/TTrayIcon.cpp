#include "tray/TTrayIcon.h"

#include "framework/Exception.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/Text.h"
#include "tray/TCallbackWindow.h"
#include "tray/TSingleClick.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {
const wchar_t kTrayError[] = L"タスクトレイにアイコンを登録できません。";
constexpr size_t kMaxIcons = 100;
constexpr unsigned kTipCodePage = 932;

// The living tray icons in order of creation, and the window they share.
struct TTrayIconTable {
    std::vector<std::pair<UINT, TTrayIcon*>> entries;
    std::unique_ptr<TCallbackWindow> window;
    // Numbers the single-click workers of all icons, so that a worker's
    // message can never be taken for another's.
    unsigned lastWorker = 0;
};

TTrayIconTable& Table() {
    static TTrayIconTable table;
    return table;
}

// The longest start of text whose code-page 932 form fits the tip; a
// double-byte character or a surrogate pair is never split.
std::wstring CutTip(const std::wstring& text) {
    std::wstring_view rest(text);
    size_t bytes = 0, end = 0;
    while (end < rest.size()) {
        size_t length =
            IS_HIGH_SURROGATE(rest[end]) && end + 1 < rest.size() && IS_LOW_SURROGATE(rest[end + 1]) ? 2 : 1;
        size_t size = WideToCodePage(rest.substr(end, length), kTipCodePage).size();
        if (bytes + size > TTrayIcon::MaxTipBytes) break;
        bytes += size;
        end += length;
    }
    return text.substr(0, end);
}

TShift ButtonShift(TMouseButton button) {
    return button == TMouseButton::Left    ? TShift::Left
           : button == TMouseButton::Right ? TShift::Right
                                           : TShift::Middle;
}
} // namespace

TTrayIcon::TTrayIcon(TComponent* owner)
    : TComponent(owner), NotifyShell([](DWORD message, NOTIFYICONDATAW& data) {
          return Shell_NotifyIconW(message, &data) != FALSE;
      }) {
    TTrayIconTable& table = Table();
    if (table.entries.size() >= kMaxIcons) throw Exception(kTrayError);
    identifier_ = table.entries.empty() ? 1 : table.entries.back().first + 1;
    if (!table.window) table.window = std::make_unique<TCallbackWindow>();
    table.entries.emplace_back(identifier_, this);
    data_.cbSize = sizeof(data_);
    data_.uID = identifier_;
    data_.uCallbackMessage = CallbackMessage;
}

TTrayIcon::~TTrayIcon() {
    workers_.clear();
    if (added_) UpdateTrayIcon(TUpdateMode::Delete);
    TTrayIconTable& table = Table();
    std::erase_if(table.entries, [this](const auto& entry) { return entry.second == this; });
    if (table.entries.empty()) table.window.reset();
}

HWND TTrayIcon::CallbackWindowHandle() {
    const auto& window = Table().window;
    return window ? window->Handle() : nullptr;
}

TTrayIcon* TTrayIcon::FindIcon(WPARAM identifier) {
    for (const auto& [id, icon] : Table().entries)
        if (id == identifier) return icon;
    return nullptr;
}

std::vector<UINT> TTrayIcon::Identifiers() {
    std::vector<UINT> ids;
    for (const auto& entry : Table().entries)
        ids.push_back(entry.first);
    return ids;
}

void TTrayIcon::Loaded() {
    // An icon shown when nothing was loading is in the tray already. One the
    // shell refuses now (a task bar not there yet at logon) is added later:
    // nobody set a property here who could be told.
    if (!added_) {
        try {
            UpdateTrayIcon(TUpdateMode::Add);
        } catch (const Exception&) {
        }
    }
    TComponent::Loaded();
}

void TTrayIcon::Notification(TComponent& component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::Remove) return;
    if (lbPopupMenu_ == &component) lbPopupMenu_ = nullptr;
    if (rbPopupMenu_ == &component) rbPopupMenu_ = nullptr;
}

void TTrayIcon::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) clickPending_ = false;
}

void TTrayIcon::SetIcon(HICON icon) {
    if (icon && icon == icon_.get()) return;
    // A handle that cannot be copied (no icon at all) counts as none.
    UniqueIcon copy(icon ? CopyIcon(icon) : nullptr);
    if (!copy) {
        SetVisible(false);
        icon_.reset();
        return;
    }
    icon_ = std::move(copy);
    IconChanged();
}

void TTrayIcon::IconChanged() {
    if (added_) UpdateTrayIcon(TUpdateMode::Modify);
}

void TTrayIcon::SetLBPopupMenu(TPopupMenu* menu) {
    lbPopupMenu_ = menu;
    if (menu) menu->FreeNotification(*this);
}

void TTrayIcon::SetRBPopupMenu(TPopupMenu* menu) {
    rbPopupMenu_ = menu;
    if (menu) menu->FreeNotification(*this);
}

void TTrayIcon::SetTipHelp(const std::wstring& tip) {
    std::wstring cut = CutTip(tip);
    if (cut == tipHelp_) return;
    tipHelp_ = std::move(cut);
    if (!Loading() && added_) UpdateTrayIcon(TUpdateMode::Modify);
}

void TTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible && icon_;
    // While the owner is loading, Loaded adds the icon.
    if (Loading()) return;
    if (visible_)
        UpdateTrayIcon(TUpdateMode::Add);
    else if (added_)
        UpdateTrayIcon(TUpdateMode::Delete);
}

void TTrayIcon::UpdateTrayIcon(TUpdateMode mode) {
    data_.hIcon = icon_.get();
    size_t length = std::min(tipHelp_.size(), std::size(data_.szTip) - 1);
    std::copy_n(tipHelp_.begin(), length, data_.szTip);
    data_.szTip[length] = L'\0';
    data_.uFlags = NIF_MESSAGE | NIF_ICON | (tipHelp_.empty() ? 0 : NIF_TIP);
    switch (mode) {
    case TUpdateMode::Add:
        if (!visible_) return;
        data_.hWnd = CallbackWindowHandle();
        if (!NotifyShell(NIM_ADD, data_)) {
            // Still visible: the icon comes once the task bar takes it.
            if (Table().window) Table().window->RetryAddsLater();
            throw Exception(kTrayError);
        }
        added_ = true;
        break;
    case TUpdateMode::Modify:
        if (!NotifyShell(NIM_MODIFY, data_)) throw Exception(kTrayError);
        break;
    case TUpdateMode::Delete:
        // The icon is gone for us whatever the shell says.
        NotifyShell(NIM_DELETE, data_);
        added_ = false;
        break;
    }
}

void TTrayIcon::ShellRestarted() {
    if (!visible_ || Loading()) return;
    // A task bar that kept the icon (the message came without a restart)
    // refuses the add; the icon is there all the same.
    added_ = false;
    try {
        UpdateTrayIcon(TUpdateMode::Add);
    } catch (const Exception&) {
        UpdateTrayIcon(TUpdateMode::Modify);
        added_ = true;
    }
}

bool TTrayIcon::RetryAdd() {
    if (!visible_ || added_ || Loading()) return true;
    try {
        UpdateTrayIcon(TUpdateMode::Add);
    } catch (const Exception&) {
        return false;
    }
    return true;
}

void TTrayIcon::TrayNotification(UINT mouseMessage) {
    POINT at{};
    GetCursorPos(&at);
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove({}, at.x, at.y);
        break;
    case WM_LBUTTONDOWN:
        MouseDown(TMouseButton::Left, at.x, at.y);
        break;
    case WM_LBUTTONUP:
        // A handler for the release takes the place of the click.
        if (OnMouseUp)
            OnMouseUp(TMouseButton::Left, {TShift::Left}, at.x, at.y);
        else
            SingleClick();
        break;
    case WM_LBUTTONDBLCLK:
        // The release that follows ends the double click, not a new click.
        clickPending_ = true;
        if (OnDblClick) OnDblClick();
        break;
    case WM_RBUTTONDOWN:
        MouseDown(TMouseButton::Right, at.x, at.y);
        break;
    case WM_RBUTTONUP:
        if (OnMouseUp) OnMouseUp(TMouseButton::Right, {TShift::Right}, at.x, at.y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(TMouseButton::Middle, at.x, at.y);
        break;
    case WM_MBUTTONUP:
        if (OnMouseUp) OnMouseUp(TMouseButton::Middle, {TShift::Middle}, at.x, at.y);
        break;
    }
}

void TTrayIcon::MouseDown(TMouseButton button, int x, int y) {
    TPopupMenu* menu = button == TMouseButton::Left    ? lbPopupMenu_
                       : button == TMouseButton::Right ? rbPopupMenu_
                                                       : nullptr;
    if (menu && AutoPopup)
        Popup(button, x, y);
    else if (OnMouseDown)
        OnMouseDown(button, {ButtonShift(button)}, x, y);
}

void TTrayIcon::Popup(TMouseButton button, int x, int y) {
    // The menu belongs to the owning form when there is one, so its commands
    // reach the form; else to the callback window.
    auto* form = dynamic_cast<TForm*>(Owner());
    HWND window = form ? form->Handle() : CallbackWindowHandle();
    // A window kept from input by a modal one is never raised over it.
    if (!IsWindowEnabled(window)) {
        if (Application) Application->ActivateFront();
        return;
    }
    // A menu of a window that is not in the foreground stays open when the
    // user clicks elsewhere.
    SetForegroundWindow(window);
    UINT id = identifier_;
    if (Application) Application->ProcessMessages();
    // What was just processed may have freed this icon or its menu.
    if (FindIcon(id) != this) return;
    TPopupMenu* menu = button == TMouseButton::Left ? lbPopupMenu_ : rbPopupMenu_;
    if (!menu) return;
    menu->Popup(x, y, window);
    // Without a message after it, the next tray menu needs two clicks.
    PostMessageW(window, WM_NULL, 0, 0);
}

void TTrayIcon::SingleClick() {
    if (!OnClick || clickPending_) {
        // Nobody listens, or this release ends a double click.
        clickPending_ = false;
        return;
    }
    clickPending_ = true;
    unsigned worker = ++Table().lastWorker;
    workers_.emplace(worker, std::make_unique<TSingleClick>(CallbackWindowHandle(),
                                                            TCallbackWindow::SingleClickMessage, identifier_,
                                                            static_cast<LPARAM>(worker)));
}

void TTrayIcon::SingleClickDone(unsigned worker) {
    // A message of a worker this icon does not know comes from an icon that
    // has gone and whose identifier was given again.
    auto it = workers_.find(worker);
    if (it == workers_.end()) return;
    // The thread has posted and is ending, so the join is short.
    workers_.erase(it);
    bool click = clickPending_ && OnClick && !(Application && Application->ModalWindowUp());
    clickPending_ = false;
    if (click) OnClick();
}
