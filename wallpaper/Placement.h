#pragma once
// How a picture is placed on the desktop, and where the tiles of a composed
// wallpaper start.
#include "library/Options.h"

#include <optional>
#include <string>

struct TileStart {
    int x;
    int y;
};
// The offset of the first tile that touches the top left corner of the
// screen: -width < x <= 0 and -height < y <= 0.
TileStart FirstTile(int screenWidth, int screenHeight, int tileWidth, int tileHeight, bool centerTiles,
                    bool move, int xPos, int yPos);

// A file's own position, or for "標準" (and what reads as it) the toolbar's
// window-wide one.
TDisplayPosition EffectivePosition(TDisplayPosition own, TDisplayPosition windowWide);

// The desktop values a wallpaper was shown with.
struct DesktopShown {
    bool Tiling = false;
    bool Stretch = false;
    bool Span = false;
    bool operator==(const DesktopShown&) const = default;
};
// The record of the window-wide position: "position,tiled,stretched,span".
std::wstring PositionRecord(TDisplayPosition position, DesktopShown shown);
// The position a record keeps, when the desktop still shows what it was
// written with; nothing for a record that is missing, damaged or outdated.
std::optional<TDisplayPosition> RecordedPosition(const std::wstring& record, DesktopShown now);
