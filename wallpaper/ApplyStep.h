#pragma once
// A picture made the desktop wallpaper: the bitmap written beside the program
// for the placement and the monitors, then the desktop told. Everything it
// needs comes in as a value; nothing is read back from a window.
//
// With one monitor a centred picture is written as it is and a stretched one
// at the monitor's size, for the system to place; tiled, fill and fit are
// composed at the monitor's size and shown 1:1 as a tile. With several
// monitors every position is composed over the whole desktop, each monitor's
// part laid out for its own size.
#include "base/PictureGeometry.h"
#include "library/Options.h"
#include "wallpaper/DesktopLayout.h"

#include <windows.h>

#include <span>
#include <string>
#include <vector>

struct DecodedPicture;
class TWallChanger;

// Where the tiles of a tiled picture start.
struct TileOptions {
    bool CenterTiles = false;
    bool Move = false;
    int XPos = 0;
    int YPos = 0;
};

// A picture and where it goes: Centred to Fit, never Standard.
struct PlacedPicture {
    const DecodedPicture* Picture = nullptr;
    TDisplayPosition Position = TDisplayPosition::Centred;
};

struct WallpaperRequest {
    // The file the desktop is given; rewritten at every applied change.
    std::wstring BitmapPath;
    // Real pixel rectangles, the primary first (see DesktopMonitors.h).
    std::vector<DesktopMonitor> Monitors;
    TMonitorMode Mode = TMonitorMode::Same;
    // One picture, or in EachOwn mode one per monitor in their order.
    std::vector<PlacedPicture> Pictures;
    TileOptions Tiles;
    COLORREF Background = 0;
    // How the system shows a bitmap of the whole desktop: as a span from the
    // desktop's top-left (Windows 8 and later), or as a tile from the
    // primary's (Windows 7).
    bool SpanShown = true;
};

// Writes the wallpaper and shows it on the desktop. A write that fails throws
// and leaves the desktop and the old file as they were.
void ApplyWallpaper(TWallChanger& desktop, const WallpaperRequest& request);
// Removes the wallpaper from the desktop.
void ClearDesktop(TWallChanger& desktop);

// The size a picture of `upright` size is decoded at to be placed on these
// monitors: its own size when centred or tiled; stretched over one area, that
// area's size; else its proportions kept, as large as the largest area it is
// scaled to needs. Never larger than itself.
PixelSize DecodeSizeFor(PixelSize upright, TDisplayPosition position, std::span<const DesktopMonitor> monitors,
                        TMonitorMode mode);

// Whether the system shows a bitmap of several monitors as a span: Windows 8
// (6.2) and later.
bool SystemShowsSpans();
