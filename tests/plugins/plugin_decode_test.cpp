// Each plug-in decodes pictures made by the WIC encoders: sizes, header
// fields, bottom-up rows with padding, pixels, previews and sources.
#include "PluginCases.h"
#include "SpiHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {
using testimg::Bytes;
using testimg::TempFile;

struct Size {
    uint32_t width;
    uint32_t height;
};

// Largest difference of one colour channel.
int ChannelDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

class PluginDecode : public ::testing::TestWithParam<PluginCase> {
  protected:
    PluginDecode() : host(GetParam().file) {}
    void SetUp() override { ASSERT_TRUE(host.loaded() && host.complete()); }

    std::wstring FileName(const wchar_t* stem) const { return stem + std::wstring(GetParam().extension); }

    void ExpectHeader(const DecodedDib& dib, Size size, WORD bits) const {
        EXPECT_EQ(dib.header.biSize, 40u);
        EXPECT_EQ(dib.header.biWidth, LONG(size.width));
        EXPECT_EQ(dib.header.biHeight, LONG(size.height)) << "positive height: bottom-up rows";
        EXPECT_EQ(dib.header.biPlanes, 1);
        EXPECT_EQ(dib.header.biBitCount, bits);
        EXPECT_EQ(dib.header.biCompression, DWORD(BI_RGB));
        const size_t stride = (size_t(size.width) * bits + 31) / 32 * 4;
        EXPECT_EQ(dib.header.biSizeImage, stride * size.height);
        EXPECT_GE(dib.bitsBlockSize, stride * size.height);
        EXPECT_GE(dib.infoBlockSize, 40 + 4 * size_t(dib.header.biClrUsed));
        if (bits > 8) {
            EXPECT_EQ(dib.header.biClrUsed, 0u);
        }
    }

    void ExpectPixels(const DecodedDib& dib, Size size) const {
        const PluginCase& c = GetParam();
        int worst = 0;
        long total = 0;
        for (uint32_t y = 0; y < size.height; ++y)
            for (uint32_t x = 0; x < size.width; ++x) {
                const uint32_t expected = SamplePixel(c, x, y);
                const int distance = ChannelDistance(dib.Rgb(x, y), expected);
                if (c.lossless && distance != 0) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << dib.Rgb(x, y)
                                  << ", expected " << expected;
                    return;
                }
                worst = std::max(worst, distance);
                total += distance;
            }
        // JPEG keeps a smooth gradient within a few levels.
        EXPECT_LE(worst, 24);
        EXPECT_LE(double(total) / (size.width * size.height), 6.0);
    }

    WORD ExpectedBits() const { return GetParam().container == &GUID_ContainerFormatGif ? 8 : 24; }

    SpiHost host;
};

TEST_P(PluginDecode, DecodesKnownPixelsAtOddSizes) {
    for (Size size : {Size{1, 1}, Size{10, 8}, Size{33, 17}, Size{2, 31}}) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        TempFile file(FileName(L"pixels"), Sample(GetParam(), size.width, size.height));
        const DecodedDib dib = host.Picture(file.ansi());
        ASSERT_EQ(dib.result, susie::Success);
        ExpectHeader(dib, size, ExpectedBits());
        ExpectPixels(dib, size);
    }
}

TEST_P(PluginDecode, FirstStoredRowIsTheBottomOfThePictureAndPaddingIsZero) {
    const Size size{10, 8};
    TempFile file(FileName(L"rows"), Sample(GetParam(), size.width, size.height));
    const DecodedDib dib = host.Picture(file.ansi());
    ASSERT_EQ(dib.result, susie::Success);
    const size_t stride = dib.stride();
    const uint32_t bottom = SamplePixel(GetParam(), 0, size.height - 1);
    uint32_t stored;
    if (dib.header.biBitCount == 8) {
        const RGBQUAD c = dib.colours.at(dib.bits[0]);
        stored = uint32_t(c.rgbRed) << 16 | uint32_t(c.rgbGreen) << 8 | c.rgbBlue;
    } else {
        stored = uint32_t(dib.bits[2]) << 16 | uint32_t(dib.bits[1]) << 8 | dib.bits[0];
    }
    EXPECT_LE(ChannelDistance(stored, bottom), GetParam().lossless ? 0 : 24);
    const size_t used = size_t(size.width) * dib.header.biBitCount / 8;
    ASSERT_LT(used, stride) << "this width needs padding";
    for (uint32_t row = 0; row < size.height; ++row)
        for (size_t i = used; i < stride; ++i)
            EXPECT_EQ(dib.bits[row * stride + i], 0) << "row " << row;
}

TEST_P(PluginDecode, PictureInfoReportsSizeAndDepth) {
    TempFile file(FileName(L"info"), Sample(GetParam(), 33, 17));
    susie::PictureInfo info{};
    info.hInfo = reinterpret_cast<HLOCAL>(1);
    ASSERT_EQ(host.PictureInfo(file.ansi(), 0, info), susie::Success);
    EXPECT_EQ(info.left, 0);
    EXPECT_EQ(info.top, 0);
    EXPECT_EQ(info.width, 33);
    EXPECT_EQ(info.height, 17);
    EXPECT_EQ(info.colorDepth, ExpectedBits());
    EXPECT_GE(info.x_density, 1);
    EXPECT_GE(info.y_density, 1);
    EXPECT_EQ(info.hInfo, nullptr);
}

TEST_P(PluginDecode, PreviewIsAQuarterOfEachSideRoundedUp) {
    struct Case {
        Size picture;
        Size preview;
    };
    for (Case c : {Case{{10, 8}, {3, 2}}, Case{{8, 8}, {2, 2}}, Case{{1, 1}, {1, 1}}, Case{{33, 17}, {9, 5}},
                   Case{{3, 4}, {1, 1}}}) {
        SCOPED_TRACE(testing::Message() << c.picture.width << "x" << c.picture.height);
        TempFile file(FileName(L"preview"), Sample(GetParam(), c.picture.width, c.picture.height));
        const DecodedDib dib = host.Preview(file.ansi());
        ASSERT_EQ(dib.result, susie::Success);
        ExpectHeader(dib, c.preview, 24);
    }
}

TEST_P(PluginDecode, MemorySourceGivesTheSamePictureAsTheFile) {
    const Bytes bytes = Sample(GetParam(), 33, 17);
    TempFile file(FileName(L"memory"), bytes);
    const DecodedDib fromFile = host.Picture(file.ansi());
    const DecodedDib fromMemory = host.PictureFromMemory(bytes);
    ASSERT_EQ(fromFile.result, susie::Success);
    ASSERT_EQ(fromMemory.result, susie::Success);
    EXPECT_EQ(0, std::memcmp(&fromFile.header, &fromMemory.header, sizeof(BITMAPINFOHEADER)));
    EXPECT_EQ(fromFile.bits, fromMemory.bits);
}

TEST_P(PluginDecode, MemorySourceInfo) {
    const Bytes bytes = Sample(GetParam(), 10, 8);
    susie::PictureInfo info{};
    const std::string view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ASSERT_EQ(host.PictureInfo(view, LONG_PTR(bytes.size()), info, susie::kSourceMemory), susie::Success);
    EXPECT_EQ(info.width, 10);
    EXPECT_EQ(info.height, 8);
}

TEST_P(PluginDecode, PictureAfterA128ByteHeaderNeedsItsOffset) {
    Bytes bytes(128, 0);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + 1);
    const Bytes picture = Sample(GetParam(), 10, 8);
    bytes.insert(bytes.end(), picture.begin(), picture.end());
    TempFile file(FileName(L"offset"), bytes);

    const DecodedDib atStart = host.Picture(file.ansi(), 0);
    EXPECT_EQ(atStart.result, susie::UnknownFormat);
    EXPECT_TRUE(atStart.handlesNullOnFailure);
    const DecodedDib at128 = host.Picture(file.ansi(), 128);
    ASSERT_EQ(at128.result, susie::Success);
    ExpectPixels(at128, {10, 8});

    susie::PictureInfo info{};
    EXPECT_EQ(host.PictureInfo(file.ansi(), 0, info), susie::UnknownFormat);
    ASSERT_EQ(host.PictureInfo(file.ansi(), 128, info), susie::Success);
    EXPECT_EQ(info.width, 10);
    EXPECT_EQ(host.Preview(file.ansi(), 128).result, susie::Success);
}

TEST_P(PluginDecode, FileNameInTheSystemCodePage) {
    const std::wstring name = FileName(L"壁紙テスト");
    const std::string ansi = testimg::Ansi(testimg::TempFolder() + name);
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (lossy) GTEST_SKIP() << "the system code page has no Japanese characters";
    TempFile file(name, Sample(GetParam(), 10, 8));
    EXPECT_EQ(host.Picture(ansi).result, susie::Success);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, PluginDecode, testing::ValuesIn(kAllPlugins),
                         [](const auto& info) { return CaseName(info.param); });

// Formats and variants beyond the samples above.
TEST(PluginPixels, PaletteGifKeepsItsColourTable) {
    SpiHost host(L"ifgif.spi");
    TempFile file(L"palette.gif", Sample(kGif, 10, 8));
    const DecodedDib dib = host.Picture(file.ansi());
    ASSERT_EQ(dib.result, susie::Success);
    ASSERT_EQ(dib.header.biBitCount, 8);
    ASSERT_GE(dib.header.biClrUsed, kGifColours.size());
    ASSERT_LE(dib.header.biClrUsed, 256u);
    for (size_t i = 0; i < kGifColours.size(); ++i) {
        const RGBQUAD c = dib.colours[i];
        EXPECT_EQ(uint32_t(c.rgbRed) << 16 | uint32_t(c.rgbGreen) << 8 | c.rgbBlue, kGifColours[i]) << i;
    }
    EXPECT_EQ(dib.bits[0], GifIndex(0, 7)) << "index of the bottom-left pixel";
}

TEST(PluginPixels, PalettePngBecomesAnEightBitDib) {
    SpiHost host(L"ifpng.spi");
    const std::vector<uint32_t> colours = {0x102030, 0xF0E0D0, 0x00FF80};
    TempFile file(L"palette.png",
                  testimg::EncodeIndexed(GUID_ContainerFormatPng, 5, 3, colours,
                                         [](uint32_t x, uint32_t y) { return uint8_t((x + y) % 3); }));
    const DecodedDib dib = host.Picture(file.ansi());
    ASSERT_EQ(dib.result, susie::Success);
    EXPECT_EQ(dib.header.biBitCount, 8);
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 5; ++x)
            EXPECT_EQ(dib.Rgb(x, y), colours[(x + y) % 3]) << x << "," << y;
}

TEST(PluginPixels, AlphaPngKeepsItsStoredColours) {
    SpiHost host(L"ifpng.spi");
    auto pixel = [](uint32_t x, uint32_t y) { return uint32_t(x * 60) << 24 | testimg::Pattern(x, y); };
    TempFile file(L"alpha.png", testimg::EncodeRgba(5, 4, pixel));
    const DecodedDib dib = host.Picture(file.ansi());
    ASSERT_EQ(dib.result, susie::Success);
    EXPECT_EQ(dib.header.biBitCount, 24);
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 1; x < 5; ++x)
            EXPECT_EQ(dib.Rgb(x, y), testimg::Pattern(x, y)) << x << "," << y;
}

TEST(PluginPixels, JpegColourBlocksKeepTheirChannels) {
    SpiHost host(L"ifjpeg.spi");
    const uint32_t blocks[4] = {0xE00000, 0x00C000, 0x0000E0, 0xE0E020};
    auto pixel = [&](uint32_t x, uint32_t y) { return blocks[(x / 16) + 2 * (y / 16)]; };
    TempFile file(L"blocks.jpg", testimg::EncodeRgb(GUID_ContainerFormatJpeg, 32, 32, pixel));
    const DecodedDib dib = host.Picture(file.ansi());
    ASSERT_EQ(dib.result, susie::Success);
    for (uint32_t y : {4u, 27u})
        for (uint32_t x : {4u, 27u})
            EXPECT_LE(ChannelDistance(dib.Rgb(x, y), pixel(x, y)), 12) << x << "," << y;

    const DecodedDib preview = host.Preview(file.ansi());
    ASSERT_EQ(preview.result, susie::Success);
    for (uint32_t y : {1u, 6u})
        for (uint32_t x : {1u, 6u})
            EXPECT_LE(ChannelDistance(preview.Rgb(x, y), pixel(x * 4, y * 4)), 16) << x << "," << y;
}

TEST(PluginPixels, DensitiesComeFromTheFile) {
    SpiHost host(L"ifpng.spi");
    TempFile file(L"dpi.png", testimg::EncodeWithResolution(4, 4, 72, 144));
    susie::PictureInfo info{};
    ASSERT_EQ(host.PictureInfo(file.ansi(), 0, info), susie::Success);
    EXPECT_EQ(info.x_density, 72);
    EXPECT_EQ(info.y_density, 144);
}

} // namespace
