#pragma once
// The pure rules of the wallpaper changes: which row comes next, how a file
// is placed on the desktop, and where the tiles of a composed wallpaper start.
#include "app/Options.h"

#include <functional>

// Rows 1 to rows-1 are files; row 0 is "(なし)".
int PreviousRow(int row, int rows);
int NextRow(int row, int rows);
// A row other than the current one, drawn uniformly among the files; the
// current row again only when it is the one file. draw(lo, hi) is uniform.
int PickRandomRow(int row, int rows, const std::function<int(int lowest, int highest)>& draw);

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
