#pragma once
// The four plug-ins under test and a sample picture of each one's format.
#include "TestImages.h"

#include <ostream>
#include <string>
#include <vector>

struct PluginCase {
    const wchar_t* file;
    const GUID* container;
    const wchar_t* extension;
    const char* patterns;
    const char* name;
    bool lossless;
};

inline const PluginCase kJpeg{
    L"ifjpeg.spi", &GUID_ContainerFormatJpeg, L".jpg", "*.jpg;*.jpe;*.jpeg;*.jfif", "JPEG", false};
inline const PluginCase kGif{L"ifgif.spi", &GUID_ContainerFormatGif, L".gif", "*.gif", "GIF", true};
inline const PluginCase kTiff{L"iftiff.spi", &GUID_ContainerFormatTiff, L".tif", "*.tif;*.tiff", "TIFF",
                              true};
inline const PluginCase kPng{L"ifpng.spi", &GUID_ContainerFormatPng, L".png", "*.png", "PNG", true};

inline const PluginCase kAllPlugins[] = {kJpeg, kGif, kTiff, kPng};

inline std::string CaseName(const PluginCase& c) {
    return c.name;
}
inline void PrintTo(const PluginCase& c, std::ostream* out) {
    *out << c.name;
}

// The colours of the sample GIF and where they go.
inline const std::vector<uint32_t> kGifColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                                  0x000000, 0x808000, 0x123456};
inline uint8_t GifIndex(uint32_t x, uint32_t y) {
    return uint8_t((x + 3 * y) % kGifColours.size());
}

// 0xRRGGBB that the sample of this format holds at (x, y).
inline uint32_t SamplePixel(const PluginCase& c, uint32_t x, uint32_t y) {
    if (c.container == &GUID_ContainerFormatGif) return kGifColours[GifIndex(x, y)];
    if (c.container == &GUID_ContainerFormatJpeg) return testimg::Gradient(x, y);
    return testimg::Pattern(x, y);
}

inline testimg::Bytes Sample(const PluginCase& c, uint32_t width, uint32_t height) {
    if (c.container == &GUID_ContainerFormatGif)
        return testimg::EncodeIndexed(GUID_ContainerFormatGif, width, height, kGifColours, GifIndex);
    return testimg::EncodeRgb(*c.container, width, height,
                              [&](uint32_t x, uint32_t y) { return SamplePixel(c, x, y); });
}
