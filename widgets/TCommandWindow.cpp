#include "widgets/TCommandWindow.h"

#include "base/CommandHandover.h"
#include "framework/TApplication.h"

namespace {
// Posted to itself after a command was taken.
constexpr UINT kRunWaiting = WM_APP + 1;
} // namespace

TCommandWindow::TCommandWindow(TComponent* owner) : TWinControl(owner) {
    // Top-level, so a second start finds it by its class; a tool window never
    // gets a taskbar button, even if someone shows it.
    CreateOwnWindow(kCommandWindowClass, WS_POPUP, WS_EX_TOOLWINDOW, nullptr);
}

LRESULT TCommandWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        std::optional<TProgramCommand> command =
            CommandFromCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        if (!command) return FALSE;
        waiting_.push_back(*command);
        PostMessageW(Handle(), kRunWaiting, 0, 0);
        return TRUE;
    }
    if (msg == kRunWaiting) {
        RunWaiting();
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void TCommandWindow::RunWaiting() {
    // A command may show a message box, whose loop can bring the next one
    // in; one that fails is reported and the others still run.
    while (!waiting_.empty()) {
        TProgramCommand command = waiting_.front();
        waiting_.pop_front();
        if (OnCommand) Guarded([&] { OnCommand(command); });
    }
}
