// The sizes files declare before any decoder sees them, and the limits they
// are held to.
#include "plugins/common/DeclaredSize.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

struct SizeCase {
    const char* what;
    bool (*read)(std::span<const uint8_t>, spi::DeclaredSize&);
    Bytes bytes;
    bool found;
    uint64_t width, height;
};

const Bytes kGifHead = {'G', 'I', 'F', '8', '9', 'a', 10, 0, 8, 0, 0, 0, 0};
Bytes Gif(Bytes images) {
    Bytes b = kGifHead;
    b.insert(b.end(), images.begin(), images.end());
    return b;
}

const SizeCase kCases[] = {
    {"JPEG frame after an APP0 segment",
     spi::JpegDeclaredSize,
     {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC0, 0, 11, 8, 0x01, 0x20, 0x7F, 0xFF, 3, 1, 0x11, 0},
     true,
     0x7FFF,
     0x120},
    {"JPEG progressive frame after fill bytes",
     spi::JpegDeclaredSize,
     {0xFF, 0xD8, 0xFF, 0xFF, 0xC2, 0, 11, 8, 0, 2, 0, 3, 1, 1, 0x11, 0},
     true,
     3,
     2},
    {"JPEG scan before any frame", spi::JpegDeclaredSize, {0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0, 0}, false, 0, 0},
    {"JPEG segment length running past the end",
     spi::JpegDeclaredSize,
     {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0, 0, 0},
     false,
     0,
     0},
    {"PNG header",
     spi::PngDeclaredSize,
     {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0x80, 0, 0, 0, 0, 0, 1, 0},
     true,
     0x80000000,
     256},
    {"PNG cut inside its header",
     spi::PngDeclaredSize,
     {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0},
     false,
     0,
     0},
    {"GIF screen only", spi::GifDeclaredSize, Gif({0x3B}), true, 10, 8},
    {"GIF image reaching past the screen", spi::GifDeclaredSize,
     Gif({0x2C, 0xFF, 0xFF, 5, 0, 0xFF, 0xFF, 2, 0, 0, 2, 1, 0, 0, 0x3B}), true, 0x1FFFE, 8},
    {"GIF extension, then an image", spi::GifDeclaredSize,
     Gif({0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 0x00, 0x10, 3, 0, 0, 2, 0, 0x3B}), true, 0x1000, 8},
    {"TIFF width as a short, height as a long",
     spi::TiffDeclaredSize,
     {'I', 'I',  42,   0, 8, 0, 0, 0, 2, 0, 0, 1, 3, 0, 1, 0, 0,
      0,   0x34, 0x12, 0, 0, 1, 1, 4, 0, 1, 0, 0, 0, 0, 0, 1, 0},
     true,
     0x1234,
     0x10000},
    {"TIFF in big-endian order",
     spi::TiffDeclaredSize,
     {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 1, 0, 0, 3, 0, 0, 0, 1, 0x01, 0x02, 0, 0},
     true,
     0x102,
     0},
    {"TIFF directory past the end", spi::TiffDeclaredSize, {'I', 'I', 42, 0, 0xFF, 0xFF, 0, 0}, false, 0, 0},
};

} // namespace

TEST(DeclaredSize, ReadsWhatTheHeadersDeclare) {
    for (const SizeCase& c : kCases) {
        spi::DeclaredSize size;
        ASSERT_EQ(c.read(c.bytes, size), c.found) << c.what;
        if (!c.found) continue;
        EXPECT_EQ(size.width, c.width) << c.what;
        EXPECT_EQ(size.height, c.height) << c.what;
    }
}

TEST(DeclaredSize, LimitsASideAndThePixelCount) {
    EXPECT_TRUE(spi::WithinLimits(1, 1));
    EXPECT_TRUE(spi::WithinLimits(32767, 2048));
    EXPECT_FALSE(spi::WithinLimits(32768, 1));
    EXPECT_FALSE(spi::WithinLimits(1, 32768));
    EXPECT_TRUE(spi::WithinLimits(8192, 8192));
    EXPECT_FALSE(spi::WithinLimits(8192, 8193));
    EXPECT_FALSE(spi::WithinLimits(0xFFFFFFFF, 0xFFFFFFFF));
}
