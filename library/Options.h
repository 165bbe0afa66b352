#pragma once
// The program's options: read once at start-up, edited by the options dialog
// and the tray commands. This is the one place that knows their value names
// in the registry section "動作環境".
#include <windows.h>

#include <array>
#include <string>

class TRegIniFile;

// The file the timer and the change at the end of the session take. Stored
// values outside 1 to 3 are kept as they are and change nothing.
enum class TChangeMethod : int { Previous = 1, Next = 2, Random = 3 };

// The file a double-click on the tray icon takes; other values do nothing.
enum class TTrayMode : int { Previous = 0, Next = 1, Random = 2 };

// Where a picture is shown on the desktop. A file's own position may be
// Standard, meaning the window-wide one of the toolbar. Fill covers the
// screen with the picture's proportions kept, cutting what overflows; Fit
// shows all of it as large as it goes, on the desktop colour.
enum class TDisplayPosition : int { Standard = 0, Centred = 1, Tiled = 2, Stretched = 3, Fill = 4, Fit = 5 };
// A stored position; values outside 0 to 5 read as Standard.
TDisplayPosition StoredPosition(int stored);

// What several monitors show: the same picture each, a picture of its own
// each, or one picture over all of them. Other stored values read as the first.
enum class TMonitorMode : int { Same = 0, EachOwn = 1, Span = 2 };

// The commands a global hotkey can run, in the order of the options page.
enum THotKeyCommand : int { hkNext, hkPrevious, hkRandom, hkClear, hkPause, hkCount };

struct Options {
    bool CenterTiles = false;
    bool ChangeAtShutdown = false;
    TTrayMode TrayMode = TTrayMode::Previous;
    bool StartHidden = false;
    int IntervalMinutes = 10;
    bool TimedChange = false;
    TChangeMethod ChangeMethod = TChangeMethod::Previous;
    bool ClearIcon = true;
    int XPos = 0;
    int YPos = 0;
    bool Move = false;
    bool AutoRun = false;
    std::wstring AutoFile;
    // Beyond the first version's options; off or none unless set.
    // The timer and the change at the end of the session change nothing.
    bool Paused = false;
    // Random changes go through every file of a group before any repeats.
    bool NoRepeat = false;
    // A timed change waits while another program fills a monitor in front.
    bool FullScreenWait = false;
    // Global hotkeys as the system's hotkey control gives them; 0 is none.
    std::array<WORD, hkCount> HotKeys{};
    TMonitorMode MonitorMode = TMonitorMode::Same;
    // The window-wide position with the desktop values it was shown with
    // ("4,1,0,0": position, tiled, stretched, span), so that fill and fit,
    // which the desktop sees as tiles, come back as themselves.
    std::wstring WallpaperPosition;

    // Reads every option in the stored order. A value that cannot be read is
    // reported and keeps its default, so one bad value never stops a start.
    void Load(const TRegIniFile& reg);
    // What the options dialog writes when it is confirmed, in its order.
    void SaveConfirmed(TRegIniFile& reg) const;
    // What the program writes when it ends: the tray mode first, the program
    // to run last (the window state goes in between).
    void SaveTrayMode(TRegIniFile& reg) const;
    void SaveAutoRun(TRegIniFile& reg) const;
    // The pause switch, written as soon as it changes.
    void SavePaused(TRegIniFile& reg) const;
    void SaveWallpaperPosition(TRegIniFile& reg) const;
};
