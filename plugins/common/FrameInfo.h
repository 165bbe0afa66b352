#pragma once
// What the first frame of a picture is: its size, density and depth.
#include <cstdint>

namespace spi {

struct FrameInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    double dpiX = 0;
    double dpiY = 0;
    uint32_t bitsPerPixel = 0;
};

} // namespace spi
