#pragma once
// The program's options: read once at start-up, edited by the options dialog
// and the tray commands. This is the one place that knows their value names
// in the registry section "動作環境".
#include <string>

class TRegIniFile;

// The file the timer and the change at the end of the session take. Stored
// values outside 1 to 3 are kept as they are and change nothing.
enum class TChangeMethod : int { Previous = 1, Next = 2, Random = 3 };

// The file a double-click on the tray icon takes; other values do nothing.
enum class TTrayMode : int { Previous = 0, Next = 1, Random = 2 };

// Where a picture is shown on the desktop. A file's own position may be
// Standard, meaning the window-wide one of the toolbar.
enum class TDisplayPosition : int { Standard = 0, Centred = 1, Tiled = 2, Stretched = 3 };

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

    // Reads every option in the stored order. A value that cannot be read is
    // reported and keeps its default, so one bad value never stops a start.
    void Load(const TRegIniFile& reg);
    // What the options dialog writes when it is confirmed, in its order.
    void SaveConfirmed(TRegIniFile& reg) const;
    // What the program writes when it ends: the tray mode first, the program
    // to run last (the window state goes in between).
    void SaveTrayMode(TRegIniFile& reg) const;
    void SaveAutoRun(TRegIniFile& reg) const;
};
