#include "base/Orientation.h"

#include <algorithm>
#include <cstdlib>

namespace {
int Known(int orientation) {
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

bool Swaps(int orientation) {
    return Known(orientation) >= 5;
}

// The stored pixel shown at (x, y): for each orientation, the stored column
// and row as x*a + y*b + c, with the stored width w and height h.
struct Mapping {
    int sx(int x, int y) const { return x * xx + y * xy + x0; }
    int sy(int x, int y) const { return x * yx + y * yy + y0; }
    int xx, xy, x0, yx, yy, y0;
};

Mapping MappingOf(int orientation, PixelSize stored) {
    const int w = stored.width - 1, h = stored.height - 1;
    switch (Known(orientation)) {
    case 2:
        return {-1, 0, w, 0, 1, 0};
    case 3:
        return {-1, 0, w, 0, -1, h};
    case 4:
        return {1, 0, 0, 0, -1, h};
    case 5:
        return {0, 1, 0, 1, 0, 0};
    case 6:
        return {0, 1, 0, -1, 0, h};
    case 7:
        return {0, -1, w, -1, 0, h};
    case 8:
        return {0, -1, w, 1, 0, 0};
    default:
        return {1, 0, 0, 0, 1, 0};
    }
}

// Shown pixels are visited in square blocks, so the stored pixels read for a
// turned picture stay in the cache.
constexpr int kBlock = 32;
} // namespace

PixelSize OrientedSize(PixelSize stored, int orientation) {
    return Swaps(orientation) ? PixelSize{stored.height, stored.width} : stored;
}

PixelRect StoredRect(PixelRect shown, PixelSize stored, int orientation) {
    if (shown.width <= 0 || shown.height <= 0) return {};
    const Mapping m = MappingOf(orientation, stored);
    const int right = shown.left + shown.width - 1, bottom = shown.top + shown.height - 1;
    const int x1 = m.sx(shown.left, shown.top), x2 = m.sx(right, bottom);
    const int y1 = m.sy(shown.left, shown.top), y2 = m.sy(right, bottom);
    return {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1};
}

void OrientPixels(const uint32_t* in, ptrdiff_t inStride, PixelSize stored, int orientation, uint32_t* out,
                  ptrdiff_t outStride) {
    const PixelSize shown = OrientedSize(stored, orientation);
    const Mapping m = MappingOf(orientation, stored);
    const auto* source = reinterpret_cast<const uint8_t*>(in);
    auto* target = reinterpret_cast<uint8_t*>(out);
    // One step right in the shown picture moves this far in the stored one.
    const ptrdiff_t step = m.xx * ptrdiff_t{4} + m.yx * inStride;
    for (int top = 0; top < shown.height; top += kBlock)
        for (int left = 0; left < shown.width; left += kBlock)
            for (int y = top; y < std::min(top + kBlock, shown.height); ++y) {
                auto* row = reinterpret_cast<uint32_t*>(target + y * outStride);
                const uint8_t* from = source + m.sy(left, y) * inStride + m.sx(left, y) * ptrdiff_t{4};
                for (int x = left; x < std::min(left + kBlock, shown.width); ++x, from += step)
                    row[x] = *reinterpret_cast<const uint32_t*>(from);
            }
}
