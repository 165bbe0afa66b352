#include "wallpaper/DesktopMonitors.h"

#include <algorithm>
#include <tuple>

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& monitors = *reinterpret_cast<std::vector<DesktopMonitor>*>(data);
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    std::optional<POINT> position;
    SIZE size{};
    if (EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode)) {
        if (mode.dmFields & DM_POSITION) position = POINT{mode.dmPosition.x, mode.dmPosition.y};
        if (mode.dmFields & DM_PELSWIDTH && mode.dmFields & DM_PELSHEIGHT)
            size = {static_cast<LONG>(mode.dmPelsWidth), static_cast<LONG>(mode.dmPelsHeight)};
    }
    monitors.push_back(
        {PhysicalRect(info.rcMonitor, position, size), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}
} // namespace

RECT PhysicalRect(RECT reported, std::optional<POINT> devicePosition, SIZE deviceSize) {
    if (deviceSize.cx <= 0 || deviceSize.cy <= 0) return reported;
    // A device without a position of its own keeps the reported top-left.
    POINT at = devicePosition.value_or(POINT{reported.left, reported.top});
    return {at.x, at.y, at.x + deviceSize.cx, at.y + deviceSize.cy};
}

void PrimaryFirst(std::vector<DesktopMonitor>& monitors) {
    std::stable_sort(monitors.begin(), monitors.end(), [](const DesktopMonitor& a, const DesktopMonitor& b) {
        return std::make_tuple(!a.Primary, a.Rect.left, a.Rect.top) <
               std::make_tuple(!b.Primary, b.Rect.left, b.Rect.top);
    });
}

std::vector<DesktopMonitor> SystemMonitors() {
    std::vector<DesktopMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    PrimaryFirst(monitors);
    return monitors;
}

MonitorSource FixedMonitors(std::vector<DesktopMonitor> monitors) {
    return [monitors = std::move(monitors)] { return monitors; };
}
