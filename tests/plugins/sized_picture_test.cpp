// GetPictureAtSize through the real plug-ins: the same pixels as the full
// picture scaled by the resampler, crops, transparency and orientation (files
// made by ImageMagick at build time), a picture over GetPicture's 64
// megapixels, and the requests it refuses.
#include "PluginCases.h"
#include "SpiHost.h"
#include "base/RowResampler.h"

#include <gtest/gtest.h>

namespace {
using testimg::TempFile;

susie::SizedRequest Request(int width, int height, PixelRect crop = {}) {
    return {sizeof(susie::SizedRequest), width, height, crop.left, crop.top, crop.width, crop.height};
}

std::string Fixture(const char* name) {
    return std::string(PICTURE_FIXTURES) + "/" + name;
}

// `crop` of a decoded DIB scaled to `size` by the resampler, as 0xAARRGGBB.
std::vector<uint32_t> Resampled(const DecodedDib& full, PixelRect crop, PixelSize size) {
    std::vector<uint32_t> in, out;
    for (int y = 0; y < crop.height; ++y)
        for (int x = 0; x < crop.width; ++x)
            in.push_back(full.Argb(crop.left + x, crop.top + y));
    RowResampler resampler({crop.width, crop.height}, size, RowFormat::Bgra32, [&](int, const uint8_t* row) {
        out.insert(out.end(), reinterpret_cast<const uint32_t*>(row),
                   reinterpret_cast<const uint32_t*>(row) + size.width);
    });
    resampler.Push(reinterpret_cast<const uint8_t*>(in.data()), crop.width * 4, crop.height);
    return out;
}

class SizedPicture : public ::testing::TestWithParam<PluginCase> {};

TEST_P(SizedPicture, TheFullPictureScaled) {
    SpiHost host(GetParam().file);
    ASSERT_TRUE(host.hasSized());
    TempFile file(L"sized" + std::wstring(GetParam().extension), Sample(GetParam(), 33, 17));
    const DecodedDib full = host.Picture(file.ansi());
    ASSERT_EQ(full.result, 0);
    susie::SizedResult result{};
    ASSERT_EQ(host.SizedQuery(file.ansi(), result), 0);
    EXPECT_EQ(result.pictureWidth, 33);
    EXPECT_EQ(result.pictureHeight, 17);
    const PixelRect whole{0, 0, 33, 17}, part{5, 3, 20, 10};
    for (auto [crop, size] : {std::pair{whole, PixelSize{33, 17}},
                              {whole, {10, 7}},
                              {whole, {50, 40}},
                              {part, {20, 10}},
                              {part, {7, 30}}}) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " from " << crop.width);
        const DecodedDib dib = host.Sized(
            file.ansi(), Request(size.width, size.height, crop == whole ? PixelRect{} : crop), result);
        ASSERT_EQ(dib.result, 0);
        EXPECT_EQ(dib.header.biBitCount, 24);
        EXPECT_EQ(result.flags, 0u);
        EXPECT_EQ(result.decoderScale, 1u) << "Wine's decoders do not reduce";
        ASSERT_EQ(dib.header.biWidth, size.width);
        ASSERT_EQ(dib.header.biHeight, size.height);
        const std::vector<uint32_t> expected = Resampled(full, crop, size);
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                ASSERT_EQ(dib.Argb(x, y), expected[size_t(y) * size.width + x]) << x << "," << y;
    }
}
INSTANTIATE_TEST_SUITE_P(Plugins, SizedPicture, ::testing::ValuesIn(kAllPlugins),
                         [](const auto& info) { return CaseName(info.param); });

int __stdcall Stop(int, int, LONG_PTR) {
    return 1;
}

TEST(SizedPictureRequests, RefusedWithHandlesNull) {
    SpiHost host(L"ifjpeg.spi");
    TempFile file(L"refused.jpg", Sample(kJpeg, 33, 17)), png(L"refused.png", Sample(kPng, 4, 4));
    const std::tuple<const char*, std::string, susie::SizedRequest, susie::ProgressCallback, int32_t>
        cases[] = {
            {"crop past the edge", file.ansi(), Request(10, 10, {30, 0, 10, 5}), nullptr,
             susie::InternalError},
            {"negative crop", file.ansi(), Request(10, 10, {-1, 0, 10, 5}), nullptr, susie::InternalError},
            {"no width", file.ansi(), Request(0, 10), nullptr, susie::InternalError},
            {"a DIB of 81 megapixels", file.ansi(), Request(9000, 9000), nullptr, susie::NoMemory},
            {"cancelled", file.ansi(), Request(10, 10), &Stop, susie::Cancelled},
            {"a PNG", png.ansi(), Request(10, 10), nullptr, susie::UnknownFormat},
        };
    for (const auto& [what, path, request, progress, expected] : cases) {
        susie::SizedResult result{};
        const DecodedDib dib = host.Sized(path, request, result, progress);
        EXPECT_EQ(dib.result, expected) << what;
        EXPECT_TRUE(dib.handlesNullOnFailure) << what;
    }
}

TEST(SizedPictureFiles, TransparencyAndOrientation) {
    // Transparent (hiding green), opaque red, half-transparent blue, white; white, black, black, black.
    const uint32_t alpha[8] = {0, 0xFFFF0000, 0x800000FF, ~0u, ~0u, 0xFF000000, 0xFF000000, 0xFF000000};
    const std::tuple<const wchar_t*, const char*, bool, int> cases[] = {
        {L"ifpng.spi", "alpha.png", true, 1},         {L"iftiff.spi", "alpha.tif", true, 1},
        {L"ifpng.spi", "palette.png", true, 1},       {L"ifgif.spi", "palette.gif", true, 1},
        {L"ifpng.spi", "opaque-alpha.png", false, 1}, {L"ifjpeg.spi", "o6.jpg", false, 6},
        {L"iftiff.spi", "t7.tif", false, 7},
    };
    for (const auto& [plugin, name, transparent, orientation] : cases) {
        SCOPED_TRACE(name);
        SpiHost host(plugin);
        susie::SizedResult result{};
        const DecodedDib same = host.Sized(Fixture(name), Request(4, 2), result);
        ASSERT_EQ(same.result, 0);
        EXPECT_EQ(result.orientation, orientation);
        EXPECT_EQ(same.header.biBitCount, transparent ? 32 : 24);
        EXPECT_EQ(result.flags, transparent ? susie::kSizedHasAlpha : 0u);
        if (!transparent) continue;
        const bool palette = std::string(name).starts_with("palette");
        EXPECT_EQ(same.Argb(0, 0) >> 24, 0u);
        for (uint32_t i = 1; i < 8; ++i)
            EXPECT_EQ(same.Argb(i % 4, i / 4), palette && i == 2 ? 0xFF0000FF : alpha[i]) << i;
        // Halved: red, white and black average; the hidden green does not join in.
        const DecodedDib half = host.Sized(Fixture(name), Request(2, 1), result);
        ASSERT_EQ(half.result, 0);
        EXPECT_EQ(half.Argb(0, 0) >> 24, 191u);
        EXPECT_NEAR(int(half.Argb(0, 0) >> 8 & 0xFF), 85, 1);
    }
}

TEST(SizedPictureLarge, OverTheOldLimitAtScreenSize) {
    const uint32_t side = 8200; // 67 megapixels: GetPictureInfo and GetPicture refuse it
    auto pixel = [](uint32_t x, uint32_t y) { return (x * 255 / 8199) << 16 | (y * 255 / 8199) << 8 | 0x80; };
    TempFile file(L"large.jpg", testimg::EncodeLargeJpeg(side, side, pixel));
    SpiHost host(L"ifjpeg.spi");
    susie::PictureInfo info{};
    EXPECT_EQ(host.PictureInfo(file.ansi(), 0, info), susie::NoMemory);
    susie::SizedResult result{};
    ASSERT_EQ(host.SizedQuery(file.ansi(), result), 0);
    EXPECT_EQ(result.pictureWidth, int(side));
    const DecodedDib dib = host.Sized(file.ansi(), Request(820, 820), result);
    ASSERT_EQ(dib.result, 0);
    for (uint32_t at : {0u, 409u, 819u})
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(int(dib.Rgb(at, at) >> shift & 0xFF),
                        int(pixel(at * 10 + 5, at * 10 + 5) >> shift & 0xFF), 3);
}
} // namespace
