#pragma once
// The monitors of the desktop as the wallpaper needs them: each one's real
// pixel rectangle, the primary first. The program declares no DPI
// awareness, so on scaled monitors (Windows 8.1 and later) the system hands
// it scaled rectangles; each display device's current mode is never scaled.
#include "wallpaper/DesktopLayout.h"

#include <functional>
#include <optional>
#include <vector>

// Where the monitors come from: the system, or fixed rectangles in tests.
using MonitorSource = std::function<std::vector<DesktopMonitor>()>;

// EnumDisplayMonitors, each monitor's rectangle taken from its device's
// current mode (EnumDisplaySettingsW) where the device reports one.
std::vector<DesktopMonitor> SystemMonitors();

MonitorSource FixedMonitors(std::vector<DesktopMonitor> monitors);

// The choice behind it: the device's position and size when it reports a
// size, else the rectangle the monitor API gave.
RECT PhysicalRect(RECT reported, std::optional<POINT> devicePosition, SIZE deviceSize);

// The primary first, then the others from left to right, top to bottom:
// the order in which each monitor gets its own picture.
void PrimaryFirst(std::vector<DesktopMonitor>& monitors);
