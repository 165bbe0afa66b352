// The shared plug-in code without a DLL around it: signatures, the text
// entries of a plug-in with several file types, and the preview size rule.
#include "base/BmpWriter.h"
#include "plugins/common/DibWriter.h"
#include "plugins/common/PluginCalls.h"
#include "plugins/common/Signatures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

Bytes Of(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(Signatures, Jpeg) {
    EXPECT_TRUE(spi::IsJpeg(Bytes{0xFF, 0xD8, 0xFF}));
    EXPECT_TRUE(spi::IsJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xE1, 0x00}));
    EXPECT_FALSE(spi::IsJpeg(Bytes{0xFF, 0xD8}));
    EXPECT_FALSE(spi::IsJpeg(Bytes{0xFF, 0xD8, 0x00, 0xE0}));
    EXPECT_FALSE(spi::IsJpeg(Bytes{0x00, 0xFF, 0xD8, 0xFF}));
    EXPECT_FALSE(spi::IsJpeg(Bytes{}));
}

TEST(Signatures, Gif) {
    EXPECT_TRUE(spi::IsGif(Of("GIF87a")));
    EXPECT_TRUE(spi::IsGif(Of("GIF89a\x0A\x00")));
    EXPECT_FALSE(spi::IsGif(Of("GIF88a")));
    EXPECT_FALSE(spi::IsGif(Of("GIF89")));
    EXPECT_FALSE(spi::IsGif(Of("gif89a")));
}

TEST(Signatures, Tiff) {
    EXPECT_TRUE(spi::IsTiff(Bytes{'I', 'I', 0x2A, 0x00, 8, 0, 0, 0}));
    EXPECT_TRUE(spi::IsTiff(Bytes{'M', 'M', 0x00, 0x2A}));
    EXPECT_FALSE(spi::IsTiff(Bytes{'I', 'I', 0x00, 0x2A}));
    EXPECT_FALSE(spi::IsTiff(Bytes{'M', 'M', 0x2A, 0x00}));
    EXPECT_FALSE(spi::IsTiff(Bytes{'I', 'I', 0x2A}));
}

TEST(Signatures, Png) {
    const Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_TRUE(spi::IsPng(png));
    Bytes damaged = png;
    damaged[4] = 0x0A; // a transfer that turned CR LF into LF
    EXPECT_FALSE(spi::IsPng(damaged));
    EXPECT_FALSE(spi::IsPng(Bytes(png.begin(), png.end() - 1)));
}

bool Never(std::span<const uint8_t>) {
    return false;
}

const spi::FileType kTwoTypes[] = {{"*.aa;*.ab", "Alpha"}, {"*.bb", "Beta"}};
const spi::SpiFormat kTwo{"Two types 1.0", kTwoTypes, &Never,  &GUID_ContainerFormatPng,
                          nullptr,         nullptr,   nullptr, nullptr};

std::string Info(int32_t infoNo, int32_t* count = nullptr) {
    char buffer[64] = {};
    const int32_t copied = spi::CopyPluginInfo(kTwo, infoNo, buffer, sizeof(buffer));
    if (count) *count = copied;
    return buffer;
}

TEST(PluginInfo, EntriesFollowEachOtherInPairs) {
    EXPECT_EQ(Info(0), "00IN");
    EXPECT_EQ(Info(1), "Two types 1.0");
    EXPECT_EQ(Info(2), "*.aa;*.ab");
    EXPECT_EQ(Info(3), "Alpha");
    EXPECT_EQ(Info(4), "*.bb");
    EXPECT_EQ(Info(5), "Beta");
    int32_t count = -1;
    EXPECT_EQ(Info(6, &count), "");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(Info(INT32_MAX, &count), "");
    EXPECT_EQ(count, 0);
    Info(5, &count);
    EXPECT_EQ(count, 4);
}

TEST(PluginInfo, LongTextIsCutToTheBuffer) {
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(spi::CopyPluginInfo(kTwo, 1, buffer, 6), 5);
    EXPECT_EQ(std::string(buffer, 7), std::string("Two t\0#", 7));
}

TEST(Preview, QuarterSideRoundedUp) {
    EXPECT_EQ(spi::PreviewSide(10), 3u);
    EXPECT_EQ(spi::PreviewSide(8), 2u);
    EXPECT_EQ(spi::PreviewSide(1), 1u);
    EXPECT_EQ(spi::PreviewSide(4), 1u);
    EXPECT_EQ(spi::PreviewSide(5), 2u);
    EXPECT_EQ(spi::PreviewSide(1920), 480u);
    EXPECT_EQ(spi::PreviewSide(1081), 271u);
    EXPECT_EQ(spi::PreviewSide(0xFFFFFFFFu), 0x40000000u);
}

TEST(Dib, RowsAreWholeWords) {
    EXPECT_EQ(DibStride(1, 24), 4u);
    EXPECT_EQ(DibStride(10, 24), 32u);
    EXPECT_EQ(DibStride(4, 24), 12u);
    EXPECT_EQ(DibStride(5, 8), 8u);
    EXPECT_EQ(DibStride(4, 8), 4u);
    EXPECT_EQ(DibStride(1920, 24), 5760u);
}

} // namespace
