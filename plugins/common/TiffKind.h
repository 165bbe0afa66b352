#pragma once
// The first image of a TIFF file as its directory describes it: the fields
// that decide how the plug-in hands it to the decoder and how it treats
// what comes back.
#include "plugins/common/SpiFormat.h"

#include <cstdint>
#include <optional>
#include <span>

namespace spi {

struct TiffKind {
    bool bigEndian = false;
    uint32_t compression = 1;
    std::optional<uint32_t> photometric;
    uint32_t samplesPerPixel = 1;
    uint32_t bitsPerSample = 1;
    uint32_t planarConfiguration = 1;
    // Where the file holds the photometric value (a short in its entry).
    size_t photometricAt = 0;
};

// Nothing when the header or the first directory is cut short.
std::optional<TiffKind> ReadTiffKind(std::span<const uint8_t> bytes);

// Kinds that platform decoders need not read: compressions other than none,
// CCITT, LZW, PackBits and Deflate (JPEG among them); colours other than
// grey, RGB and a palette (CMYK and other inks, YCbCr, CIE Lab); samples
// stored plane by plane.
bool IsUncommonTiffKind(const TiffKind& kind);

// The two hooks of the TIFF plug-in's format table (see SpiFormat).
bool IsUncommonTiff(std::span<const uint8_t> bytes);
// Grey with alpha stored white-is-zero is a kind the decoder may refuse; it
// gets the file as black-is-zero and the colours back inverted. Samples of
// a big-endian file may come back in the file's byte order.
Prepared PrepareTiff(std::span<const uint8_t> bytes);

} // namespace spi
