#include "wallpaper/Placement.h"

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
