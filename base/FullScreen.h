#pragma once
// Whether another program fills a whole monitor in front (a game, a
// presentation, a video), so that a timed change should wait for it.
#include <windows.h>

#include <optional>

struct TForegroundWindow {
    // Its client area in screen coordinates: a maximised window with a
    // caption never covers its monitor with it, a full-screen one does.
    RECT Client{};
    // The whole monitor it is on, the taskbar included.
    RECT Monitor{};
    // The desktop or the shell's own window: it covers the monitor, but
    // nothing is being shown on it.
    bool Shell = false;
    // A window of this program.
    bool Own = false;
};

// What the system says about the user (SHQueryUserNotificationState).
enum class TSystemState { NoAnswer, Busy, Free };

bool CoversMonitor(const RECT& area, const RECT& monitor);

// Busy when the system says so; otherwise when the window in front is
// another program's and covers its monitor. The system's "free" is not
// taken as the last word: some systems answer it whatever runs.
bool FullScreenAhead(TSystemState system, const std::optional<TForegroundWindow>& foreground);

// The system's answer now.
TSystemState SystemState();
// The window in front now, or none.
std::optional<TForegroundWindow> ForegroundWindowNow();
// The rule, asked of the system now.
bool FullScreenProgramAhead();
