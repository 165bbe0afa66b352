#include "base/ColorPalette.h"

#include <vector>

HPALETTE CreateColorPalette(std::span<const RGBQUAD> colors) {
    if (colors.empty() || colors.size() > 256) return nullptr;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(colors.size());
    for (size_t i = 0; i < colors.size(); ++i)
        logical->palPalEntry[i] = {colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
    return CreatePalette(logical);
}
