#include "tray/TCallbackWindow.h"

#include "framework/TApplication.h"
#include "tray/TTrayIcon.h"

namespace {
constexpr UINT_PTR kRetryTimer = 1;
constexpr UINT kRetryMilliseconds = 2000;
} // namespace

TCallbackWindow::TCallbackWindow()
    : TWinControl(nullptr), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    // A tool window never gets a taskbar button, even if someone shows it.
    CreateOwnWindow(L"TapestraTrayCallback", WS_POPUP, WS_EX_TOOLWINDOW, nullptr);
}

LRESULT TCallbackWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TTrayIcon::CallbackMessage) {
        TrayMessage(wParam, lParam);
        return 0;
    }
    if (msg == SingleClickMessage) {
        SingleClickDone(wParam, lParam);
        return 0;
    }
    if (taskbarCreated_ && msg == taskbarCreated_) {
        TaskbarCreated();
        return 0;
    }
    if (msg == WM_TIMER && wParam == kRetryTimer) {
        RetryAdds();
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void TCallbackWindow::TrayMessage(WPARAM wParam, LPARAM lParam) {
    TTrayIcon* icon = TTrayIcon::FindIcon(wParam);
    if (!icon || !icon->Enabled()) return;
    // While a modal window of the program is up, the tray takes no commands.
    if (Application && Application->ModalWindowUp()) return;
    icon->TrayNotification(static_cast<UINT>(lParam));
}

void TCallbackWindow::SingleClickDone(WPARAM wParam, LPARAM lParam) {
    if (TTrayIcon* icon = TTrayIcon::FindIcon(wParam)) icon->SingleClickDone(static_cast<unsigned>(lParam));
}

void TCallbackWindow::TaskbarCreated() {
    // Explorer was restarted and has forgotten every icon. One icon that
    // cannot be added again must not keep the others away.
    // An error box may run a message loop, so each icon is looked up afresh.
    for (UINT id : TTrayIcon::Identifiers())
        if (TTrayIcon* icon = TTrayIcon::FindIcon(id)) Guarded([icon] { icon->ShellRestarted(); });
}

void TCallbackWindow::RetryAddsLater() {
    SetTimer(Handle(), kRetryTimer, kRetryMilliseconds, nullptr);
}

void TCallbackWindow::RetryAdds() {
    // At logon the program may start before the task bar takes icons, and
    // its "TaskbarCreated" may have gone out already.
    bool waiting = false;
    for (UINT id : TTrayIcon::Identifiers())
        if (TTrayIcon* icon = TTrayIcon::FindIcon(id)) waiting = !icon->RetryAdd() || waiting;
    if (!waiting) KillTimer(Handle(), kRetryTimer);
}
