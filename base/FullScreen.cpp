#include "base/FullScreen.h"

// After windows.h, which it needs.
#include <shellapi.h>

#include <iterator>

namespace {
bool ShellWindow(HWND wnd) {
    if (wnd == GetDesktopWindow() || wnd == GetShellWindow()) return true;
    // The desktop's icons and wallpaper live in windows of these classes.
    wchar_t name[16] = {};
    GetClassNameW(wnd, name, static_cast<int>(std::size(name)));
    return lstrcmpW(name, L"Progman") == 0 || lstrcmpW(name, L"WorkerW") == 0;
}
} // namespace

bool CoversMonitor(const RECT& area, const RECT& monitor) {
    return area.left <= monitor.left && area.top <= monitor.top && area.right >= monitor.right &&
           area.bottom >= monitor.bottom;
}

bool FullScreenAhead(TSystemState system, const std::optional<TForegroundWindow>& foreground) {
    if (system == TSystemState::Busy) return true;
    return foreground && !foreground->Shell && !foreground->Own &&
           CoversMonitor(foreground->Client, foreground->Monitor);
}

TSystemState SystemState() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(SHQueryUserNotificationState(&state))) return TSystemState::NoAnswer;
    switch (state) {
    case QUNS_BUSY:
    case QUNS_RUNNING_D3D_FULL_SCREEN:
    case QUNS_PRESENTATION_MODE:
        return TSystemState::Busy;
    default:
        return TSystemState::Free;
    }
}

std::optional<TForegroundWindow> ForegroundWindowNow() {
    HWND wnd = GetForegroundWindow();
    if (!wnd) return std::nullopt;
    TForegroundWindow window{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetClientRect(wnd, &window.Client) ||
        !GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return std::nullopt;
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&window.Client), 2);
    window.Monitor = monitor.rcMonitor;
    window.Shell = ShellWindow(wnd);
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    window.Own = process == GetCurrentProcessId();
    return window;
}

bool FullScreenProgramAhead() {
    return FullScreenAhead(SystemState(), ForegroundWindowNow());
}
