#pragma once
// The one place that touches the desktop wallpaper settings of Windows: reads
// them at start-up, writes them back with each applied wallpaper and tells the
// shell.
#include "framework/TComponent.h"

#include <windows.h>

#include <functional>
#include <string>

class TWallChanger : public TComponent {
  public:
    using TSystemParametersInfo = std::function<BOOL(UINT action, UINT param, void* data, UINT flags)>;

    explicit TWallChanger(TComponent* owner);

    int OriginX = 0;
    int OriginY = 0;
    bool Stretch = false;
    bool Tiling = false;
    // A bitmap of the whole desktop shown across all monitors (WallpaperStyle
    // 22, Windows 8 and later); Tiling and Stretch are then off.
    bool Span = false;
    std::wstring WallpaperName;

    bool ReadDesktopSettings();
    bool Apply();
    bool SetWallpaper(const std::wstring& name, bool tiling, bool stretch, bool span = false);
    // Removes the desktop wallpaper; the position values are left as they are.
    static void ClearWallpaper(const TSystemParametersInfo& systemParametersInfo = ::SystemParametersInfoW);

    // The shell call; tests observe it here.
    TSystemParametersInfo SystemParametersInfo = ::SystemParametersInfoW;
};
