// Pictures as the wallpaper needs them, read through our real plug-ins:
// upright by the file's own tag, transparency laid onto the desktop colour,
// decoded no larger than the screen needs; and fill, fit, stretch and the
// monitors as the written wallpaper shows them.
#include "support/TestFiles.h"
#include "wallpaper/ApplyStep.h"
#include "wallpaper/PictureReader.h"
#include "wallpaper/TWallChanger.h"

#include "framework/DibFile.h"
#include "framework/TPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {
const std::wstring kFixtures = L"" PICTURE_FIXTURES;
constexpr COLORREF kDesk = RGB(0x10, 0x60, 0xA0);

std::wstring Fixture(const std::wstring& name) {
    return kFixtures + L"\\" + name;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The general loader, for what our plug-ins do not read.
struct Loader {
    TPicture picture;
    int calls = 0;
    WholeLoader Whole() {
        return [this](const std::wstring& path) -> const TPicture* {
            ++calls;
            picture.LoadFromFile(path);
            return &picture;
        };
    }
};

DecodedPicture ReadWhole(const std::wstring& path, Loader& loader) {
    return ReadPicture(path, [](PixelSize upright) { return upright; }, kDesk, loader.Whole());
}

int Channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// RGBA bytes (as ImageMagick writes them) laid onto the desktop colour.
uint32_t OnDesk(const uint8_t* rgba) {
    auto mix = [&](int c, int desk) { return (c * rgba[3] + desk * (255 - rgba[3]) + 127) / 255; };
    return static_cast<uint32_t>(mix(rgba[2], GetBValue(kDesk)) | mix(rgba[1], GetGValue(kDesk)) << 8 |
                                 mix(rgba[0], GetRValue(kDesk)) << 16);
}

void ExpectNear(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(Channel(actual, shift), Channel(expected, shift), tolerance) << std::hex << actual << " " << expected;
}

TEST(WallpaperPicture, EightOrientationsComeOutAsAutoOrientShowsThem) {
    for (const wchar_t* kind : {L"o", L"t"})
        for (int v = 1; v <= 8; ++v) {
            const std::wstring name = kind + std::to_wstring(v);
            SCOPED_TRACE(std::string(name.begin(), name.end()));
            Loader loader;
            const DecodedPicture picture = ReadWhole(Fixture(name + (kind[0] == L'o' ? L".jpg" : L".tif")), loader);
            EXPECT_EQ(loader.calls, 0) << "read by our plug-in";
            const std::vector<uint8_t> upright = ReadBytes(Fixture(name + L".upright.rgba"));
            const bool turned = v >= 5;
            ASSERT_EQ(picture.Width, turned ? 4 : 7);
            ASSERT_EQ(picture.Height, turned ? 7 : 4);
            ASSERT_EQ(upright.size(), picture.Pixels.size() * 4);
            // JPEG decoders may differ in their last bits; a wrong turn differs by far more.
            for (size_t i = 0; i < picture.Pixels.size(); ++i)
                ExpectNear(picture.Pixels[i] & 0xFFFFFF, OnDesk(&upright[i * 4]), kind[0] == L'o' ? 10 : 0);
        }
}

TEST(WallpaperPicture, TransparencyIsLaidOntoTheDesktopColour) {
    struct Case {
        const wchar_t* file;
        const wchar_t* pixels;
        bool general; // read by the program's own loader, not a plug-in
    } cases[] = {
        {L"alpha.png", L"alpha.rgba", false},     {L"alpha.tif", L"alpha.rgba", false},
        {L"palette.png", L"palette.rgba", false}, {L"palette.gif", L"palette.rgba", false},
        {L"alpha32.bmp", L"alpha.rgba", true},    {L"alpha.ico", L"alpha.rgba", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file, c.file + wcslen(c.file)));
        Loader loader;
        const DecodedPicture picture = ReadWhole(Fixture(c.file), loader);
        EXPECT_EQ(loader.calls, c.general ? 1 : 0);
        const std::vector<uint8_t> rgba = ReadBytes(Fixture(c.pixels));
        ASSERT_EQ(picture.Width, 4);
        ASSERT_EQ(picture.Height, 2);
        for (size_t i = 0; i < 8; ++i)
            ExpectNear(picture.Pixels[i] & 0xFFFFFF, OnDesk(&rgba[i * 4]), 2);
        // The transparent pixel is the desktop colour exactly, not the green it hides.
        EXPECT_EQ(picture.Pixels[0] & 0xFFFFFF, OnDesk(&rgba[0]));
    }
}

TEST(WallpaperPicture, APhotoIsDecodedAtTheSizeTheScreenNeedsAndOneTooLargeSaysSo) {
    const DesktopMonitor screen[] = {{{0, 0, 1920, 1080}, true}};
    struct Case {
        TDisplayPosition position;
        PixelSize decoded;
    } cases[] = {
        {TDisplayPosition::Fill, {1920, 1280}},
        {TDisplayPosition::Fit, {1620, 1080}},
        {TDisplayPosition::Stretched, {1920, 1080}},
        {TDisplayPosition::Centred, {6000, 4000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        Loader loader;
        const DecodedPicture picture = ReadPicture(
            Fixture(L"big.jpg"),
            [&](PixelSize upright) { return DecodeSizeFor(upright, c.position, screen, TMonitorMode::Same); }, kDesk,
            loader.Whole());
        EXPECT_EQ(loader.calls, 0);
        EXPECT_EQ(PixelSize(picture.Width, picture.Height), c.decoded);
    }
    Loader loader;
    try {
        ReadWhole(Fixture(L"huge.jpg"), loader);
        ADD_FAILURE() << "a 60000x60000 picture was read";
    } catch (const EPictureRead& e) {
        EXPECT_EQ(e.Code, kPictureTooLarge);
        EXPECT_EQ(e.Message, std::wstring(kPictureTooLargeText) + L" [" + Fixture(L"huge.jpg") + L"]");
    }
}

// The written wallpaper of a picture in two colours (left half red, right
// half green), read back.
class WrittenWallpaper : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testfiles::FreshFolder(L"tapestra-wallpaper-picture");
        desktop.SystemParametersInfo = [](UINT, UINT, void*, UINT) { return TRUE; };
    }
    static DecodedPicture Halves(int width, int height) {
        DecodedPicture picture;
        picture.Width = width;
        picture.Height = height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.Pixels.push_back(x < width / 2 ? 0xFFFF0000u : 0xFF00FF00u);
        return picture;
    }
    testfiles::Bitmap Apply(std::vector<DesktopMonitor> monitors, const DecodedPicture& picture,
                                             TDisplayPosition position, TMonitorMode mode = TMonitorMode::Same) {
        WallpaperRequest request;
        request.BitmapPath = folder + L"\\wall.bmp";
        request.Monitors = std::move(monitors);
        request.Mode = mode;
        request.Pictures = {{&picture, position}};
        request.Background = kDesk;
        ApplyWallpaper(desktop, request);
        return testfiles::ReadBitmap(request.BitmapPath);
    }
    std::wstring folder;
    TComponent owner{nullptr};
    TWallChanger desktop{&owner};
};

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);

TEST_F(WrittenWallpaper, FillCoversTheScreenCuttingEvenlyAndFitShowsAllOnTheDesktopColour) {
    // On a 100x50 screen: columns (or rows) of picture, margin or cut.
    struct Case {
        const char* name;
        int width, height;
        TDisplayPosition position;
        int left, top, right, bottom; // where the picture shows; the rest is margin
    } cases[] = {
        {"landscape 4:1, fill", 200, 50, TDisplayPosition::Fill, 0, 0, 100, 50},
        {"portrait, fill", 40, 80, TDisplayPosition::Fill, 0, 0, 100, 50},
        {"square, fit", 60, 60, TDisplayPosition::Fit, 25, 0, 75, 50},
        {"portrait, fit", 40, 80, TDisplayPosition::Fit, 38, 0, 63, 50},
        {"landscape 4:1, fit", 200, 50, TDisplayPosition::Fit, 0, 13, 100, 38},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testfiles::Bitmap bmp = Apply({{{0, 0, 100, 50}, true}}, Halves(c.width, c.height), c.position);
        ASSERT_EQ(bmp.width, 100);
        ASSERT_EQ(bmp.height, 50);
        EXPECT_TRUE(desktop.Tiling);
        for (int y : {0, 25, 49})
            for (int x : {0, 10, 40, 60, 89, 99}) {
                // Away from the seam, which the filter blends when it enlarges.
                const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                const COLORREF expected = !inside ? kDesk : x < (c.left + c.right) / 2 ? kRed : kGreen;
                EXPECT_EQ(bmp.Pixel(x, y), expected) << x << "," << y;
            }
    }
}

TEST_F(WrittenWallpaper, OneMonitorWritesCentredAsItIsAndStretchedAtTheScreensSize) {
    testfiles::Bitmap bmp = Apply({{{0, 0, 100, 50}, true}}, Halves(30, 20), TDisplayPosition::Centred);
    EXPECT_EQ(bmp.width, 30);
    EXPECT_EQ(bmp.height, 20);
    EXPECT_FALSE(desktop.Tiling || desktop.Stretch || desktop.Span);
    bmp = Apply({{{0, 0, 100, 50}, true}}, Halves(400, 300), TDisplayPosition::Stretched);
    ASSERT_EQ(bmp.width, 100);
    ASSERT_EQ(bmp.height, 50);
    EXPECT_TRUE(desktop.Stretch);
    EXPECT_EQ(bmp.Pixel(10, 10), kRed);
    EXPECT_EQ(bmp.Pixel(90, 10), kGreen);
}

TEST_F(WrittenWallpaper, SeveralMonitorsAreComposedIntoOneBitmapOfTheWholeDesktop) {
    // The secondary left of the primary and higher: the bitmap covers both,
    // and the corner neither shows is the desktop colour.
    const std::vector<DesktopMonitor> two = {{{0, 0, 100, 50}, true}, {{-60, -20, 0, 40}, false}};
    for (TMonitorMode mode : {TMonitorMode::Same, TMonitorMode::Span}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const testfiles::Bitmap bmp = Apply(two, Halves(40, 40), TDisplayPosition::Fit, mode);
        ASSERT_EQ(bmp.width, 160);
        ASSERT_EQ(bmp.height, 70);
        EXPECT_TRUE(desktop.Span);
        EXPECT_FALSE(desktop.Tiling);
        EXPECT_EQ(bmp.Pixel(10, 65), kDesk);
    }
    const DesktopMonitor screens[] = {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3840, 2160}, false}};
    EXPECT_EQ(DecodeSizeFor({6000, 4000}, TDisplayPosition::Fill, screens, TMonitorMode::Same),
              PixelSize(3240, 2160));
    EXPECT_EQ(DecodeSizeFor({6000, 4000}, TDisplayPosition::Fill, screens, TMonitorMode::Span),
              PixelSize(3840, 2560));
    EXPECT_EQ(DecodeSizeFor({600, 400}, TDisplayPosition::Fit, screens, TMonitorMode::Same), PixelSize(600, 400));
}
} // namespace
