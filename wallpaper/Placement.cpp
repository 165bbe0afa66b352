#include "wallpaper/Placement.h"

#include <cwchar>

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

TDisplayPosition EffectivePosition(TDisplayPosition own, TDisplayPosition windowWide) {
    return own == TDisplayPosition::Standard ? windowWide : own;
}

std::wstring PositionRecord(TDisplayPosition position, DesktopShown shown) {
    return std::to_wstring(static_cast<int>(position)) + L"," + (shown.Tiling ? L"1" : L"0") + L"," +
           (shown.Stretch ? L"1" : L"0") + L"," + (shown.Span ? L"1" : L"0");
}

std::optional<TDisplayPosition> RecordedPosition(const std::wstring& record, DesktopShown now) {
    int position = 0, tiling = 0, stretch = 0, span = 0;
    wchar_t rest = 0;
    if (std::swscanf(record.c_str(), L"%d,%d,%d,%d%lc", &position, &tiling, &stretch, &span, &rest) != 4)
        return std::nullopt;
    if (position < 1 || position > 5 || DesktopShown{tiling == 1, stretch == 1, span == 1} != now)
        return std::nullopt;
    return static_cast<TDisplayPosition>(position);
}
