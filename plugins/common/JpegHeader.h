#pragma once
// The description of a JPEG picture read from its markers, without decoding
// it: the decoder of this system decodes every pixel when it is opened, which
// costs as much as the picture itself just to tell its size.
#include "plugins/common/FrameInfo.h"

#include <cstdint>
#include <span>

namespace spi {

// Fills `info` as the decoder would describe the frame and returns true, for
// the baseline, extended and progressive 8-bit grey or colour pictures it
// certainly decodes, which run to their end-of-image marker. False for
// anything else: the decoder has to judge those.
bool ReadJpegHeader(std::span<const uint8_t> bytes, FrameInfo& info);

} // namespace spi
