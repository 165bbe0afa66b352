#pragma once
// Rows of pixels in the layout a decoder delivers them, turned into 32-bit
// BGRA with unassociated alpha here wherever the platform's own conversion
// gets them wrong: 16-bit samples a decoder left in big-endian order,
// premultiplied alpha (the platform's division overflows where rounding left
// a colour above its alpha, and it has no conversion for 16-bit samples),
// and colours a file stores inverted.
#include <wincodec.h>

#include <cstdint>
#include <optional>

namespace spi {

enum class RawLayout {
    Bgra32,  // GUID_WICPixelFormat32bppBGRA
    Pbgra32, // 32bppPBGRA: premultiplied
    Gray16,  // 16bppGray
    Rgb48,   // 48bppRGB
    Rgba64,  // 64bppRGBA
    Prgba64, // 64bppPRGBA: premultiplied
};

struct RawConversion {
    RawLayout layout = RawLayout::Bgra32;
    bool swapSamples = false;   // 16-bit samples arrive big-endian
    bool invertColours = false; // colour channels arrive inverted; alpha never
};

// The layout of a pixel format handled here; nothing for any other.
std::optional<RawLayout> RawLayoutOf(const WICPixelFormatGUID& format);
uint32_t BytesPerPixel(RawLayout layout);
bool IsPremultiplied(RawLayout layout);
bool HasWideSamples(RawLayout layout);
// Whether the conversion changes anything the platform's would not get
// right: otherwise the platform's conversion serves.
bool NeedsOwnConversion(const RawConversion& conversion);

// width pixels from raw (BytesPerPixel each) into bgra (4 bytes each).
void ConvertRow(const RawConversion& conversion, const uint8_t* raw, uint32_t width, uint8_t* bgra);

// A premultiplied colour channel back to its own value, rounded, never
// above the largest value: a colour of 255 at alpha 254 stays 255. A fully
// transparent pixel keeps what it holds.
uint8_t Unpremultiply(uint8_t colour, uint8_t alpha);
// The same for 16-bit samples, to 8 bits.
uint8_t Unpremultiply16(uint16_t colour, uint16_t alpha);

} // namespace spi
