#pragma once
// A GIF may come with no colour table at all, neither a global one nor one
// for its image; some platform decoders then read through a table that is
// not there. Such a file is handed to the decoder with the default table
// that browsers use in its place.
#include "plugins/common/SpiFormat.h"

#include <cstdint>
#include <span>
#include <vector>

namespace spi {

// Black, white, then shades of grey: black and white first, as the format
// recommends, so a two-colour picture shows as it was meant.
std::vector<uint8_t> DefaultGifColourTable();

// The file with DefaultGifColourTable as its global table when it has none;
// nothing to change when it has one or is too short to tell. Images with a
// table of their own keep using it.
Prepared PrepareGif(std::span<const uint8_t> gif);

} // namespace spi
