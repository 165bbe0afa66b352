// The JPEG description read from the markers must be what the decoder itself
// reports, and anything the decoder might reject must be left to it.
#include "TestImages.h"
#include "plugins/common/JpegHeader.h"
#include "plugins/common/WicPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {
using testimg::Bytes;

Bytes Jpeg(uint32_t width, uint32_t height) {
    return testimg::EncodeRgb(GUID_ContainerFormatJpeg, width, height, testimg::Gradient);
}

// Offset of the JFIF APP0 segment's identifier, or 0.
size_t JfifAt(const Bytes& jpeg) {
    const char id[] = "JFIF";
    for (size_t i = 2; i + 16 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xE0 && std::memcmp(&jpeg[i + 4], id, 5) == 0) return i + 4;
    return 0;
}

size_t SofAt(const Bytes& jpeg) {
    for (size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC1 || jpeg[i + 1] == 0xC2)) return i;
    return 0;
}

void ExpectAsDecoderSays(const Bytes& jpeg) {
    spi::FrameInfo fromHeader;
    ASSERT_TRUE(spi::ReadJpegHeader(jpeg, fromHeader));
    spi::ComScope com;
    const spi::FrameInfo fromDecoder = spi::WicPicture(jpeg, GUID_ContainerFormatJpeg).Info();
    EXPECT_EQ(fromHeader.width, fromDecoder.width);
    EXPECT_EQ(fromHeader.height, fromDecoder.height);
    EXPECT_EQ(fromHeader.bitsPerPixel, fromDecoder.bitsPerPixel);
    EXPECT_DOUBLE_EQ(fromHeader.dpiX, fromDecoder.dpiX);
    EXPECT_DOUBLE_EQ(fromHeader.dpiY, fromDecoder.dpiY);
}

TEST(JpegHeader, SizeAndDepthAsTheDecoderSays) {
    for (auto [w, h] : {std::pair{33u, 17u}, {1u, 300u}, {640u, 1u}}) {
        SCOPED_TRACE(w);
        ExpectAsDecoderSays(Jpeg(w, h));
    }
}

TEST(JpegHeader, EveryDensityUnitAsTheDecoderSays) {
    Bytes jpeg = Jpeg(20, 10);
    const size_t jfif = JfifAt(jpeg);
    ASSERT_NE(jfif, 0u) << "the encoder writes a JFIF segment";
    for (uint8_t unit : {0, 1, 2, 3}) {
        SCOPED_TRACE(unit);
        jpeg[jfif + 7] = unit;
        jpeg[jfif + 8] = 0x01; // 300
        jpeg[jfif + 9] = 0x2C;
        jpeg[jfif + 10] = 0x00; // 72
        jpeg[jfif + 11] = 0x48;
        ExpectAsDecoderSays(jpeg);
    }
    // Not JFIF at all: no density either.
    jpeg[jfif + 3] = 'X';
    ExpectAsDecoderSays(jpeg);
}

TEST(JpegHeader, CutShortIsLeftToTheDecoder) {
    const Bytes jpeg = Jpeg(40, 30);
    spi::FrameInfo info;
    for (size_t length : {size_t(2), size_t(20), SofAt(jpeg) + 5, jpeg.size() / 2, jpeg.size() - 1})
        EXPECT_FALSE(spi::ReadJpegHeader(Bytes(jpeg.begin(), jpeg.begin() + length), info)) << length;
    Bytes trailing = jpeg;
    trailing.push_back(0);
    EXPECT_FALSE(spi::ReadJpegHeader(trailing, info));
}

TEST(JpegHeader, OtherCodingProcessesAreLeftToTheDecoder) {
    const Bytes jpeg = Jpeg(16, 16);
    const size_t sof = SofAt(jpeg);
    ASSERT_NE(sof, 0u);
    spi::FrameInfo info;
    for (uint8_t marker : {0xC3, 0xC5, 0xC9, 0xCB}) {
        Bytes other = jpeg;
        other[sof + 1] = marker;
        EXPECT_FALSE(spi::ReadJpegHeader(other, info)) << int(marker);
    }
    Bytes twelveBit = jpeg;
    twelveBit[sof + 4] = 12;
    EXPECT_FALSE(spi::ReadJpegHeader(twelveBit, info));
    Bytes noWidth = jpeg;
    noWidth[sof + 7] = noWidth[sof + 8] = 0;
    EXPECT_FALSE(spi::ReadJpegHeader(noWidth, info));
}

TEST(JpegHeader, NotAJpegIsRefused) {
    spi::FrameInfo info;
    EXPECT_FALSE(spi::ReadJpegHeader(Bytes{}, info));
    EXPECT_FALSE(spi::ReadJpegHeader(Bytes{0xFF, 0xD8, 0xFF, 0xD9}, info));
    Bytes png = testimg::EncodeRgb(GUID_ContainerFormatPng, 4, 4, testimg::Gradient);
    EXPECT_FALSE(spi::ReadJpegHeader(png, info));
}

} // namespace
