#pragma once
// A picture made the desktop wallpaper: the bitmap written beside the program
// by its placement, then the desktop told. Everything it needs comes in as a
// value; nothing is read back from a window.
#include "wallpaper/Placement.h"

#include <windows.h>

#include <string>

class TPicture;
class TWallChanger;

// Where the tiles of a composed wallpaper start.
struct TileOptions {
    bool CenterTiles = false;
    bool Move = false;
    int XPos = 0;
    int YPos = 0;
};

struct WallpaperRequest {
    // The file the desktop is given; rewritten at every applied change.
    std::wstring BitmapPath;
    Placement Placement{};
    TileOptions Tiles;
    // The size a tiled wallpaper is composed at.
    SIZE Screen{};
};

// Writes the picture (tiled: composed screen-sized) and shows it on the
// desktop. A write that fails throws and leaves the desktop and the old file
// as they were.
void ApplyPicture(TWallChanger& desktop, const TPicture& picture, const WallpaperRequest& request);
// Removes the wallpaper from the desktop.
void ClearDesktop(TWallChanger& desktop);
