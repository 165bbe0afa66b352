#pragma once
// The largest picture a file declares in its own headers, read before the
// decoder sees the file: decoders allocate by the declared size, so a made-up
// size must be refused before they start.
#include <cstdint>
#include <span>

namespace spi {

// The largest picture the plug-ins decode: a side of 32,767 pixels and 64
// megapixels in all. Larger ones fail with NoMemory before anything is
// allocated for them.
constexpr uint64_t kMaxSide = 32767;
constexpr uint64_t kMaxPixels = 64ull << 20;

struct DeclaredSize {
    uint64_t width = 0;
    uint64_t height = 0;
};

constexpr bool WithinLimits(uint64_t width, uint64_t height) {
    return width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

// Each reads what the format's headers declare (for GIF the logical screen
// and every image in it, for TIFF the first image); false when the headers
// end before a size is found (the decoder then judges the file).
bool JpegDeclaredSize(std::span<const uint8_t> bytes, DeclaredSize& size);
bool PngDeclaredSize(std::span<const uint8_t> bytes, DeclaredSize& size);
bool GifDeclaredSize(std::span<const uint8_t> bytes, DeclaredSize& size);
bool TiffDeclaredSize(std::span<const uint8_t> bytes, DeclaredSize& size);

} // namespace spi
