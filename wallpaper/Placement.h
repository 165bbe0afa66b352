#pragma once
// How a picture is placed on the desktop, and where the tiles of a composed
// wallpaper start.
#include "library/Options.h"

struct TileStart {
    int x;
    int y;
};
// The offset of the first tile that touches the top left corner of the
// screen: -width < x <= 0 and -height < y <= 0.
TileStart FirstTile(int screenWidth, int screenHeight, int tileWidth, int tileHeight, bool centerTiles,
                    bool move, int xPos, int yPos);

// What the desktop is told: tiled, stretched, or neither (centred).
struct Placement {
    bool Tiling;
    bool Stretch;
};
// A file's own position, or for "標準" the toolbar's window-wide one.
Placement PlacementOf(TDisplayPosition position, Placement windowWide);
