#include "plugins/common/RawPixels.h"

#include <algorithm>

namespace spi {
namespace {
struct Bgra {
    uint8_t b, g, r, a;
};

uint16_t Sample16(const uint8_t* at, bool bigEndian) {
    return static_cast<uint16_t>(bigEndian ? at[0] << 8 | at[1] : at[1] << 8 | at[0]);
}

// 16-bit samples become 8-bit ones by their high byte, as the platform's
// conversion makes them.
uint8_t High(uint16_t sample) {
    return static_cast<uint8_t>(sample >> 8);
}

Bgra ReadPixel(const RawConversion& conversion, const uint8_t* p) {
    const bool swap = conversion.swapSamples;
    auto sample = [&](int index) { return Sample16(p + 2 * index, swap); };
    switch (conversion.layout) {
    case RawLayout::Bgra32:
        return {p[0], p[1], p[2], p[3]};
    case RawLayout::Pbgra32:
        return {Unpremultiply(p[0], p[3]), Unpremultiply(p[1], p[3]), Unpremultiply(p[2], p[3]), p[3]};
    case RawLayout::Gray16: {
        const uint8_t grey = High(sample(0));
        return {grey, grey, grey, 0xFF};
    }
    case RawLayout::Rgb48:
        return {High(sample(2)), High(sample(1)), High(sample(0)), 0xFF};
    case RawLayout::Rgba64:
        return {High(sample(2)), High(sample(1)), High(sample(0)), High(sample(3))};
    case RawLayout::Prgba64: {
        const uint16_t alpha = sample(3);
        return {Unpremultiply16(sample(2), alpha), Unpremultiply16(sample(1), alpha),
                Unpremultiply16(sample(0), alpha), High(alpha)};
    }
    }
    return {};
}
} // namespace

std::optional<RawLayout> RawLayoutOf(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormat32bppBGRA) return RawLayout::Bgra32;
    if (format == GUID_WICPixelFormat32bppPBGRA) return RawLayout::Pbgra32;
    if (format == GUID_WICPixelFormat16bppGray) return RawLayout::Gray16;
    if (format == GUID_WICPixelFormat48bppRGB) return RawLayout::Rgb48;
    if (format == GUID_WICPixelFormat64bppRGBA) return RawLayout::Rgba64;
    if (format == GUID_WICPixelFormat64bppPRGBA) return RawLayout::Prgba64;
    return std::nullopt;
}

uint32_t BytesPerPixel(RawLayout layout) {
    switch (layout) {
    case RawLayout::Gray16:
        return 2;
    case RawLayout::Rgb48:
        return 6;
    case RawLayout::Rgba64:
    case RawLayout::Prgba64:
        return 8;
    default:
        return 4;
    }
}

bool IsPremultiplied(RawLayout layout) {
    return layout == RawLayout::Pbgra32 || layout == RawLayout::Prgba64;
}

bool HasWideSamples(RawLayout layout) {
    return BytesPerPixel(layout) != 4;
}

bool NeedsOwnConversion(const RawConversion& conversion) {
    return IsPremultiplied(conversion.layout) || conversion.swapSamples || conversion.invertColours;
}

void ConvertRow(const RawConversion& conversion, const uint8_t* raw, uint32_t width, uint8_t* bgra) {
    const uint32_t step = BytesPerPixel(conversion.layout);
    for (uint32_t x = 0; x < width; ++x, raw += step, bgra += 4) {
        Bgra pixel = ReadPixel(conversion, raw);
        if (conversion.invertColours) {
            pixel.b = static_cast<uint8_t>(0xFF - pixel.b);
            pixel.g = static_cast<uint8_t>(0xFF - pixel.g);
            pixel.r = static_cast<uint8_t>(0xFF - pixel.r);
        }
        bgra[0] = pixel.b;
        bgra[1] = pixel.g;
        bgra[2] = pixel.r;
        bgra[3] = pixel.a;
    }
}

uint8_t Unpremultiply(uint8_t colour, uint8_t alpha) {
    if (alpha == 0) return colour;
    return static_cast<uint8_t>(std::min<unsigned>(0xFF, (colour * 0xFFu + alpha / 2u) / alpha));
}

uint8_t Unpremultiply16(uint16_t colour, uint16_t alpha) {
    if (alpha == 0) return High(colour);
    return High(static_cast<uint16_t>(std::min<uint32_t>(0xFFFF, (colour * 0xFFFFu + alpha / 2u) / alpha)));
}

} // namespace spi
