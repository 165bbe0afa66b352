#include "plugins/common/JpegHeader.h"

#include <cstring>

namespace spi {
namespace {
constexpr uint8_t kSoi = 0xD8, kEoi = 0xD9, kApp0 = 0xE0;
constexpr uint8_t kSof0 = 0xC0, kSof1 = 0xC1, kSof2 = 0xC2;
// Frame markers of coding processes the decoder does not take or that are
// not frames at all (tables, arithmetic conditioning) are told apart by code.
bool IsFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}
bool HasNoLength(uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}
uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
} // namespace

bool ReadJpegHeader(std::span<const uint8_t> bytes, FrameInfo& info) {
    const size_t size = bytes.size();
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != kSoi) return false;
    // A file cut short fails in the decoder; only a whole one is vouched for.
    if (bytes[size - 2] != 0xFF || bytes[size - 1] != kEoi) return false;
    // Without a JFIF density the decoder reports 96 dpi.
    uint8_t unit = 0;
    uint16_t densityX = 1, densityY = 1;
    size_t at = 2;
    while (at < size) {
        if (bytes[at] != 0xFF) return false;
        while (at < size && bytes[at] == 0xFF) ++at; // fill bytes
        if (at >= size) return false;
        const uint8_t marker = bytes[at++];
        if (HasNoLength(marker)) continue;
        if (marker == kSoi || marker == kEoi || marker == 0xDA) return false; // no frame before the scan
        if (size - at < 2) return false;
        const size_t length = Word(&bytes[at]);
        if (length < 2 || size - at < length) return false;
        const uint8_t* data = &bytes[at + 2];
        const size_t dataLength = length - 2;
        if (marker == kApp0 && dataLength >= 14 && std::memcmp(data, "JFIF", 5) == 0) {
            unit = data[7];
            densityX = Word(data + 8);
            densityY = Word(data + 10);
        } else if (IsFrameMarker(marker)) {
            if (marker != kSof0 && marker != kSof1 && marker != kSof2) return false;
            if (dataLength < 6) return false;
            const uint8_t precision = data[0];
            const uint32_t height = Word(data + 1), width = Word(data + 3);
            const uint8_t components = data[5];
            if (precision != 8 || width == 0 || height == 0 || (components != 1 && components != 3) ||
                dataLength < 6 + 3u * components)
                return false;
            info.width = width;
            info.height = height;
            info.bitsPerPixel = components * 8u;
            if (unit == 1) {
                info.dpiX = densityX;
                info.dpiY = densityY;
            } else if (unit == 2) { // dots per centimetre
                info.dpiX = densityX * 2.54;
                info.dpiY = densityY * 2.54;
            } else {
                info.dpiX = info.dpiY = 96.0;
            }
            return true;
        }
        at += length;
    }
    return false;
}

} // namespace spi
