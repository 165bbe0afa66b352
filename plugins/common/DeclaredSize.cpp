#include "plugins/common/DeclaredSize.h"

#include <algorithm>

namespace spi {
namespace {
uint32_t BigEndian(std::span<const uint8_t> b, size_t at, unsigned bytes) {
    uint32_t value = 0;
    for (unsigned i = 0; i < bytes; ++i)
        value = value << 8 | b[at + i];
    return value;
}
uint32_t LittleEndian(std::span<const uint8_t> b, size_t at, unsigned bytes) {
    uint32_t value = 0;
    for (unsigned i = bytes; i-- > 0;)
        value = value << 8 | b[at + i];
    return value;
}
void Grow(DeclaredSize& size, uint64_t width, uint64_t height) {
    size.width = std::max(size.width, width);
    size.height = std::max(size.height, height);
}
} // namespace

bool JpegDeclaredSize(std::span<const uint8_t> b, DeclaredSize& size) {
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (b[at] != 0xFF) return false;
        const uint8_t marker = b[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        const size_t length = BigEndian(b, at + 2, 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && length >= 7 && at + 9 <= b.size()) {
            Grow(size, BigEndian(b, at + 7, 2), BigEndian(b, at + 5, 2));
            return true;
        }
        if (length < 2 || marker == 0xDA || marker == 0xD9) return false;
        at += 2 + length;
    }
    return false;
}

bool PngDeclaredSize(std::span<const uint8_t> b, DeclaredSize& size) {
    if (b.size() < 24) return false;
    Grow(size, BigEndian(b, 16, 4), BigEndian(b, 20, 4));
    return true;
}

bool GifDeclaredSize(std::span<const uint8_t> b, DeclaredSize& size) {
    if (b.size() < 13) return false;
    Grow(size, LittleEndian(b, 6, 2), LittleEndian(b, 8, 2));
    size_t at = 13;
    if (b[10] & 0x80) at += 3u << ((b[10] & 7) + 1);
    // Blocks up to the end: extensions and images, each image's data skipped.
    auto skipSubBlocks = [&] {
        while (at < b.size() && b[at] != 0)
            at += 1 + b[at];
        ++at;
    };
    while (at < b.size()) {
        if (b[at] == 0x21) {
            at += 2;
            skipSubBlocks();
        } else if (b[at] == 0x2C) {
            if (at + 10 > b.size()) break;
            // An image reaches as far as its position plus its size.
            Grow(size, LittleEndian(b, at + 1, 2) + LittleEndian(b, at + 5, 2),
                 LittleEndian(b, at + 3, 2) + LittleEndian(b, at + 7, 2));
            const uint8_t flags = b[at + 9];
            at += 10;
            if (flags & 0x80) at += 3u << ((flags & 7) + 1);
            ++at; // code size
            skipSubBlocks();
        } else {
            break;
        }
    }
    return true;
}

bool TiffDeclaredSize(std::span<const uint8_t> b, DeclaredSize& size) {
    if (b.size() < 8) return false;
    const bool big = b[0] == 'M';
    auto read = [&](size_t at, unsigned bytes) {
        return big ? BigEndian(b, at, bytes) : LittleEndian(b, at, bytes);
    };
    const uint32_t ifd = read(4, 4);
    if (ifd > b.size() || b.size() - ifd < 2) return false;
    const uint32_t entries = read(ifd, 2);
    bool found = false;
    for (uint32_t i = 0; i < entries && ifd + 2 + 12ull * (i + 1) <= b.size(); ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        const uint32_t tag = read(entry, 2), type = read(entry + 2, 2);
        if (tag != 256 && tag != 257) continue;
        // A short value sits in the first half of the field in either order.
        const uint32_t value = type == 3 ? read(entry + 8, 2) : read(entry + 8, 4);
        Grow(size, tag == 256 ? value : 0, tag == 257 ? value : 0);
        found = true;
    }
    return found;
}

} // namespace spi
