#pragma once
// What sets one of our plug-ins apart from the others: its texts, how its
// files begin and which WIC decoder reads them. Everything else is shared.
#include "plugins/common/DeclaredSize.h"
#include "plugins/common/FrameInfo.h"

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace spi {

// One entry of the plug-in's file-type list: "*.jpg;*.jpe" and "JPEG".
struct FileType {
    const char* patterns;
    const char* name;
};

// What the plug-in corrects in the pixels a decoder delivers.
struct PixelCorrections {
    // The file stores its samples big-endian; a decoder may hand 16-bit
    // samples over in that order.
    bool bigEndianFile = false;
    // The decoder reads colours that the file stores inverted.
    bool invertedColours = false;
};

// A file made ready for the decoder: bytes it reads right in place of the
// file's own (empty when the file is fine as it is), and the corrections.
struct Prepared {
    std::vector<uint8_t> bytes;
    PixelCorrections corrections;
};

struct SpiFormat {
    const char* about; // plug-in name and version
    std::span<const FileType> fileTypes;
    // True when the first bytes of a file are this format's signature.
    bool (*matches)(std::span<const uint8_t> head);
    const GUID* container; // WIC container format of the decoder to use
    // Reads the frame's description from the file's own header, for formats
    // whose decoder would otherwise decode every pixel just to tell the size;
    // false when the header is not one it can vouch for (WIC is asked then).
    bool (*headerInfo)(std::span<const uint8_t> bytes, FrameInfo& info);
    // The size the file's headers declare, checked against the limits
    // before the decoder allocates anything for it.
    bool (*declaredSize)(std::span<const uint8_t> bytes, DeclaredSize& size);
    // Makes a file ready for a decoder that would misread it as it is.
    Prepared (*prepare)(std::span<const uint8_t> bytes);
    // True for a kind of the format that decoders need not read: when the
    // decoder fails on it, the format is unsupported rather than the data
    // broken.
    bool (*uncommonKind)(std::span<const uint8_t> bytes);
};

// Defined once in each plug-in: the table of that plug-in.
const SpiFormat& ThisPlugin();

} // namespace spi
