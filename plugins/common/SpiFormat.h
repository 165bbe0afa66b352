#pragma once
// What sets one of our plug-ins apart from the others: its texts, how its
// files begin and which WIC decoder reads them. Everything else is shared.
#include "plugins/common/DeclaredSize.h"
#include "plugins/common/FrameInfo.h"

#include <windows.h>

#include <cstdint>
#include <span>

namespace spi {

// One entry of the plug-in's file-type list: "*.jpg;*.jpe" and "JPEG".
struct FileType {
    const char* patterns;
    const char* name;
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
};

// Defined once in each plug-in: the table of that plug-in.
const SpiFormat& ThisPlugin();

} // namespace spi
