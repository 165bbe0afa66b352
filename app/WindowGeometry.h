#pragma once
// Where the main window is, in the coordinates its position is restored in.
#include <windows.h>

// GetWindowPlacement gives the normal-state rectangle in workspace
// coordinates: relative to the work area of the window's monitor, which a
// task bar at the top or left moves away from the screen origin.
inline RECT WorkspaceToScreen(RECT normal, const RECT& work, const RECT& monitor) {
    OffsetRect(&normal, work.left - monitor.left, work.top - monitor.top);
    return normal;
}

// The normal-state rectangle of a top-level window in screen coordinates,
// also while it is minimised or maximised.
inline RECT NormalScreenRect(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    // Tool windows get screen coordinates already.
    if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return placement.rcNormalPosition;
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return placement.rcNormalPosition;
    return WorkspaceToScreen(placement.rcNormalPosition, info.rcWork, info.rcMonitor);
}
