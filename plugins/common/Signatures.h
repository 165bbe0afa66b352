#pragma once
// File signatures of the formats we decode. Each test looks only at the
// bytes it is given and is false when there are too few of them.
#include <cstdint>
#include <span>

namespace spi {

bool IsJpeg(std::span<const uint8_t> head);
bool IsGif(std::span<const uint8_t> head);
bool IsTiff(std::span<const uint8_t> head);
bool IsPng(std::span<const uint8_t> head);

} // namespace spi
