#include "base/AlphaFlatten.h"

#include <algorithm>

void FlattenAlpha(uint8_t* bgra, size_t count, AlphaKind kind, COLORREF background) {
    const uint32_t under[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    for (size_t i = 0; i < count; ++i, bgra += 4) {
        const uint32_t alpha = bgra[3];
        if (alpha == 255) continue;
        for (int c = 0; c < 3; ++c) {
            // Both in units of 1/255: the picture's share and the background's.
            const uint32_t own = kind == AlphaKind::Straight ? bgra[c] * alpha : bgra[c] * 255u;
            bgra[c] =
                static_cast<uint8_t>(std::min<uint32_t>(255, (own + under[c] * (255 - alpha) + 127) / 255));
        }
        bgra[3] = 255;
    }
}
