#include "app/ChangePolicy.h"

int PreviousRow(int row, int rows) {
    return row > 1 ? row - 1 : rows - 1;
}

int NextRow(int row, int rows) {
    return row < rows - 1 ? row + 1 : 1;
}

int PickRandomRow(int row, int rows, const std::function<int(int, int)>& draw) {
    int files = rows - 1;
    if (row < 1 || row > files) return draw(1, files);
    if (files == 1) return row;
    // Draw among the other files directly, so the draw never repeats.
    int other = draw(1, files - 1);
    return other < row ? other : other + 1;
}

TileStart FirstTile(int screenWidth, int screenHeight, int tileWidth, int tileHeight, bool centerTiles,
                    bool move, int xPos, int yPos) {
    long long x = 0, y = 0;
    if (centerTiles) {
        x = (screenWidth - tileWidth) / 2;
        y = (screenHeight - tileHeight) / 2;
    } else if (move) {
        x = xPos;
        y = yPos;
    }
    // Step back (or forward, for offsets left of or above the screen) to the
    // tile that covers the corner; computed, not looped, for any offset.
    auto normalise = [](long long offset, long long size) {
        long long r = offset % size;
        return static_cast<int>(r > 0 ? r - size : r);
    };
    return {normalise(x, tileWidth), normalise(y, tileHeight)};
}

Placement PlacementOf(TDisplayPosition position, Placement windowWide) {
    switch (position) {
    case TDisplayPosition::Standard:
        return windowWide;
    case TDisplayPosition::Tiled:
        return {true, false};
    case TDisplayPosition::Stretched:
        return {false, true};
    default:
        return {false, false};
    }
}
