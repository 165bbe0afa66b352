// The framework's picture: loading BMP, ICO, WMF and EMF files made here,
// refusing files that are not pictures, rendering, drawing and saving.
#include "PictureFiles.h"
#include "SamplePictures.h"
#include "framework/Exception.h"
#include "framework/TPicture.h"
#include "plugins/TestImages.h"

#include <gtest/gtest.h>

using namespace pictest;

namespace {

std::vector<RGBQUAD> Table(int count) {
    std::vector<RGBQUAD> colors;
    for (int i = 0; i < count; ++i)
        colors.push_back(
            {static_cast<BYTE>(i * 11), static_cast<BYTE>(255 - i * 7), static_cast<BYTE>(i * 5 + 3), 0});
    return colors;
}

COLORREF ColorOf(const RGBQUAD& q) {
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

class Picture : public PictureFileTest {
  protected:
    Picture() : PictureFileTest(L"tpicture_test") {}
};

} // namespace

TEST_F(Picture, StartsEmpty) {
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Kind(), TPictureKind::None);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_FALSE(picture.RenderToBitmap());
}

TEST_F(Picture, LoadsAnIndexedBitmapWithItsDepthColoursAndPalette) {
    BmpFile bmp = MakeBmp(7, 5, 4, Table(16), [](int x, int y) { return (x * 3 + y) % 16u; });
    picture.LoadFromFile(Write(L"four.bmp", bmp.Bytes()));
    ASSERT_EQ(picture.Kind(), TPictureKind::Bitmap);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 5);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(picture.Bitmap(), sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBmih.biBitCount, 4);
    ASSERT_NE(picture.Palette(), nullptr);
    EXPECT_EQ(GetPaletteEntries(picture.Palette(), 0, 0, nullptr), 16u);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(PixelOf(picture.Bitmap(), x, y), bmp.Color(x, y)) << x << "," << y;
}

TEST_F(Picture, SavesAnIndexedBitmapWithItsOwnDepthAndTable) {
    for (int bits : {1, 4, 8}) {
        int count = 1 << bits;
        BmpFile bmp =
            MakeBmp(9, 3, bits, Table(count), [count](int x, int y) { return (x + 5 * y) % count; });
        picture.LoadFromFile(Write(L"indexed.bmp", bmp.Bytes()));
        picture.SaveToFile(folder / L"saved.bmp");
        BmpFile saved = ReadBmp(folder / L"saved.bmp");
        EXPECT_EQ(saved.Info.biBitCount, bits);
        EXPECT_EQ(saved.Info.biWidth, 9);
        EXPECT_EQ(saved.Info.biHeight, 3);
        ASSERT_EQ(saved.Colors.size(), static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(ColorOf(saved.Colors[i]), ColorOf(bmp.Colors[i])) << bits << " bits, colour " << i;
        EXPECT_EQ(saved.File.bfSize, ReadBytes(folder / L"saved.bmp").size());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 9; ++x)
                EXPECT_EQ(saved.Index(x, y), bmp.Index(x, y)) << bits << " bits " << x << "," << y;
    }
}

TEST_F(Picture, SavesATrueColourBitmapUnchanged) {
    BmpFile bmp = MakeBmp(5, 4, 24, {}, [](int x, int y) { return RGB(x * 50, y * 60, 255 - x * y * 10); });
    picture.LoadFromFile(Write(L"true.bmp", bmp.Bytes()));
    picture.SaveToFile(folder / L"saved.bmp");
    BmpFile saved = ReadBmp(folder / L"saved.bmp");
    EXPECT_EQ(saved.Info.biBitCount, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(saved.Color(x, y), bmp.Color(x, y)) << x << "," << y;
}

TEST_F(Picture, ATallBitmapIsSavedWholeAcrossItsBands) {
    // Written a band of rows at a time: more rows than one band holds.
    auto color = [](int x, int y) { return RGB(x, y % 256, y / 256 * 60 + x % 7); };
    BmpFile bmp = MakeBmp(200, 700, 24, {}, color);
    picture.LoadFromFile(Write(L"tall.bmp", bmp.Bytes()));
    picture.SaveToFile(folder / L"saved-tall.bmp");
    BmpFile saved = ReadBmp(folder / L"saved-tall.bmp");
    ASSERT_EQ(saved.Info.biHeight, 700);
    for (int y : {0, 1, 255, 256, 435, 436, 437, 600, 698, 699})
        for (int x = 0; x < 200; x += 13)
            EXPECT_EQ(saved.Color(x, y), color(x, y)) << x << "," << y;
}

TEST_F(Picture, ScreenBitmapIsSavedInTheScreensDepth) {
    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 6, 3));
    {
        UniqueDC dc(CreateCompatibleDC(screen.get()));
        SelectGuard select(dc.get(), bitmap.get());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x)
                SetPixel(dc.get(), x, y, RGB(x * 40, y * 100, 7));
    }
    picture.AssignBitmap(std::move(bitmap));
    ASSERT_EQ(picture.Kind(), TPictureKind::Bitmap);
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Palette(), nullptr);
    picture.SaveToFile(folder / L"screen.bmp");
    BmpFile saved = ReadBmp(folder / L"screen.bmp");
    EXPECT_EQ(saved.Info.biBitCount, ScreenBits());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(saved.Color(x, y), RGB(x * 40, y * 100, 7)) << x << "," << y;
}

TEST_F(Picture, LoadsAnIconAtItsSizeAndRendersItOnTheWindowColour) {
    picture.LoadFromFile(Write(L"icon.ico", IconFile()));
    ASSERT_EQ(picture.Kind(), TPictureKind::Icon);
    EXPECT_EQ(picture.Width(), 24);
    EXPECT_EQ(picture.Height(), 16);
    EXPECT_EQ(picture.Bitmap(), nullptr);
    UniqueBitmap rendered = picture.RenderToBitmap();
    ASSERT_TRUE(rendered);
    BITMAP bm = BitmapInfo(rendered.get());
    EXPECT_EQ(bm.bmWidth, 24);
    EXPECT_EQ(bm.bmHeight, 16);
    EXPECT_EQ(bm.bmBitsPixel, ScreenBits());
    EXPECT_EQ(PixelOf(rendered.get(), 1, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(PixelOf(rendered.get(), 6, 8), kRed);
    EXPECT_EQ(PixelOf(rendered.get(), 20, 8), kBlue);
}

TEST_F(Picture, IconIsSavedAsARenderedBitmap) {
    picture.LoadFromFile(Write(L"icon.ico", IconFile()));
    picture.SaveToFile(folder / L"icon.bmp");
    BmpFile saved = ReadBmp(folder / L"icon.bmp");
    EXPECT_EQ(saved.Info.biWidth, 24);
    EXPECT_EQ(saved.Info.biHeight, 16);
    EXPECT_EQ(saved.Color(1, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(saved.Color(6, 8), kRed);
    EXPECT_EQ(saved.Color(20, 8), kBlue);
}

TEST_F(Picture, LoadsAPlaceableMetafileAtItsFrameSize) {
    picture.LoadFromFile(Write(L"placeable.wmf", PlaceableMetafile()));
    ASSERT_EQ(picture.Kind(), TPictureKind::Metafile);
    // 3000 by 1500 twips.
    EXPECT_EQ(picture.Width(), MulDiv(3000, Dpi(LOGPIXELSX), 1440));
    EXPECT_EQ(picture.Height(), MulDiv(1500, Dpi(LOGPIXELSY), 1440));
    UniqueBitmap rendered = picture.RenderToBitmap();
    ASSERT_TRUE(rendered);
    BITMAP bm = BitmapInfo(rendered.get());
    EXPECT_EQ(bm.bmWidth, picture.Width());
    EXPECT_EQ(bm.bmHeight, picture.Height());
    EXPECT_EQ(PixelOf(rendered.get(), bm.bmWidth / 4, bm.bmHeight / 2), kRed);
    EXPECT_EQ(PixelOf(rendered.get(), bm.bmWidth * 3 / 4, bm.bmHeight / 2), kBlue);
}

TEST_F(Picture, LoadsAPlainMetafileAtItsWindowExtent) {
    picture.LoadFromFile(Write(L"plain.wmf", WindowsMetafileBits()));
    ASSERT_EQ(picture.Kind(), TPictureKind::Metafile);
    EXPECT_EQ(picture.Width(), 200);
    EXPECT_EQ(picture.Height(), 100);
    UniqueBitmap rendered = picture.RenderToBitmap();
    ASSERT_TRUE(rendered);
    EXPECT_EQ(PixelOf(rendered.get(), 50, 50), kRed);
    EXPECT_EQ(PixelOf(rendered.get(), 150, 50), kBlue);
}

TEST_F(Picture, LoadsAnEnhancedMetafileAtItsFrameSize) {
    picture.LoadFromFile(Write(L"enhanced.emf", EnhancedMetafile()));
    ASSERT_EQ(picture.Kind(), TPictureKind::Metafile);
    EXPECT_NEAR(picture.Width(), 120, 1);
    EXPECT_NEAR(picture.Height(), 80, 1);
    picture.SaveToFile(folder / L"enhanced.bmp");
    BmpFile saved = ReadBmp(folder / L"enhanced.bmp");
    EXPECT_EQ(saved.Info.biWidth, picture.Width());
    EXPECT_EQ(saved.Info.biHeight, picture.Height());
    EXPECT_EQ(saved.Color(picture.Width() / 4, picture.Height() / 2), kRed);
    EXPECT_EQ(saved.Color(picture.Width() * 3 / 4, picture.Height() / 2), kBlue);
}

TEST_F(Picture, DrawsStretchedOverTheRectangle) {
    BmpFile bmp =
        MakeBmp(2, 2, 24, {}, [](int x, int y) { return x == 0 ? (y == 0 ? kRed : kBlue) : RGB(0, 200, 0); });
    picture.LoadFromFile(Write(L"small.bmp", bmp.Bytes()));
    WindowDC screen(nullptr);
    UniqueBitmap target(CreateCompatibleBitmap(screen.get(), 30, 30));
    {
        UniqueDC dc(CreateCompatibleDC(screen.get()));
        SelectGuard select(dc.get(), target.get());
        RECT all{0, 0, 30, 30};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        picture.Draw(dc.get(), RECT{5, 5, 25, 25});
    }
    EXPECT_EQ(PixelOf(target.get(), 2, 2), RGB(255, 255, 255)) << "nothing outside the rectangle";
    EXPECT_EQ(PixelOf(target.get(), 8, 8), kRed);
    EXPECT_EQ(PixelOf(target.get(), 8, 22), kBlue);
    EXPECT_EQ(PixelOf(target.get(), 22, 8), RGB(0, 200, 0));
    EXPECT_EQ(PixelOf(target.get(), 27, 27), RGB(255, 255, 255));
}

TEST_F(Picture, FilesThatAreNoPicturesOfTheirKindAreInvalidGraphics) {
    BmpFile bmp = MakeBmp(4, 4, 24, {}, [](int, int) { return 0u; });
    std::vector<BYTE> cutBmp = bmp.Bytes();
    cutBmp.resize(sizeof(BITMAPFILEHEADER) + 10);
    std::vector<BYTE> text = {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e', '\r', '\n'};
    std::vector<BYTE> cursor = IconFile();
    cursor[2] = 2; // a cursor file, not an icon
    std::vector<BYTE> iconPastEnd = IconFile();
    iconPastEnd.erase(iconPastEnd.end() - 10, iconPastEnd.end());
    std::vector<BYTE> emfSignature = EnhancedMetafile();
    emfSignature[40] ^= 0xFF; // dSignature
    std::vector<BYTE> wmfCut = WindowsMetafileBits();
    wmfCut.resize(wmfCut.size() / 2);
    struct Case {
        const wchar_t* name;
        std::vector<BYTE> bytes;
    };
    for (const Case& c :
         {Case{L"text.bmp", text}, Case{L"empty.bmp", {}}, Case{L"cut.bmp", cutBmp}, Case{L"text.ico", text},
          Case{L"cursor.ico", cursor}, Case{L"cut.ico", iconPastEnd}, Case{L"text.wmf", text},
          Case{L"checksum.wmf", PlaceableMetafile(false)}, Case{L"cut.wmf", wmfCut}, Case{L"text.emf", text},
          Case{L"signature.emf", emfSignature}, Case{L"empty.emf", {}}}) {
        EXPECT_THROW(picture.LoadFromFile(Write(c.name, c.bytes)), EInvalidGraphic) << c.name;
        EXPECT_TRUE(picture.Empty()) << c.name;
    }
}

TEST_F(Picture, MissingFileOrUnknownExtensionIsAnotherError) {
    for (const wchar_t* name : {L"missing.bmp", L"missing.ico", L"missing.wmf", L"missing.emf"}) {
        std::wstring path = folder / name;
        try {
            picture.LoadFromFile(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const EInvalidGraphic&) {
            ADD_FAILURE() << "a missing file is not an invalid picture";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message.find(path), std::wstring::npos);
        }
    }
    std::wstring png = Write(L"picture.png", {1, 2, 3});
    try {
        picture.LoadFromFile(png);
        ADD_FAILURE() << "no error for an unknown extension";
    } catch (const EInvalidGraphic&) {
        ADD_FAILURE() << "an unknown extension is not an invalid picture";
    } catch (const Exception& e) {
        EXPECT_FALSE(e.Message.empty());
    }
}

TEST_F(Picture, AFailedLoadKeepsThePictureItHeld) {
    picture.LoadFromFile(Write(L"icon.ico", IconFile()));
    EXPECT_THROW(picture.LoadFromFile(Write(L"bad.bmp", {'x'})), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(folder / L"gone.emf"), Exception);
    EXPECT_EQ(picture.Kind(), TPictureKind::Icon);
    EXPECT_EQ(picture.Width(), 24);
    picture.Clear();
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
}

TEST_F(Picture, SavingNothingOrToAMissingFolderFails) {
    EXPECT_THROW(picture.SaveToFile(folder / L"nothing.bmp"), Exception);
    EXPECT_FALSE(std::filesystem::exists(folder / L"nothing.bmp"));
    BmpFile bmp = MakeBmp(2, 2, 24, {}, [](int, int) { return 0u; });
    picture.LoadFromFile(Write(L"small.bmp", bmp.Bytes()));
    EXPECT_THROW(picture.SaveToFile(folder / L"no such folder\\x.bmp"), Exception);
}

// 16-bit pixels are written in their own layout: a plain header would make
// GetDIBits turn 5-6-5 pixels into 5-5-5 ones and lose a bit of green. The
// plain 5-5-5 layout needs no masks.
TEST_F(Picture, SixteenBitBitmapsAreSavedPixelForPixel) {
    struct Layout {
        const char* name;
        DWORD compression;
        std::vector<DWORD> masks;
        WORD used; // the bits the masks cover
        bool savedWithMasks;
    };
    const Layout layouts[] = {
        {"5-6-5", BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0xFFFF, true},
        {"5-5-5 plain", BI_RGB, {}, 0x7FFF, false},
        {"5-5-5 with masks", BI_BITFIELDS, {0x7C00, 0x03E0, 0x001F}, 0x7FFF, false},
    };
    const int width = 5, height = 3, stride = 12;
    auto pixel = [](int x, int y, WORD used) {
        return static_cast<WORD>((x * 0x1357 + y * 0x0F0F + 0x0421) & used);
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        std::vector<BYTE> bmp;
        const DWORD offBits = static_cast<DWORD>(14 + 40 + 4 * layout.masks.size());
        Append(bmp, BITMAPFILEHEADER{0x4D42, 0, 0, 0, offBits});
        Append(bmp, BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 16, layout.compression, 0, 0,
                                     0, 0, 0});
        for (DWORD mask : layout.masks)
            Append(bmp, mask);
        for (int row = 0; row < height; ++row) {
            for (int x = 0; x < width; ++x)
                Append(bmp, pixel(x, height - 1 - row, layout.used));
            Append(bmp, WORD{0});
        }
        picture.LoadFromFile(Write(L"sixteen.bmp", bmp));
        picture.SaveToFile(folder / L"saved.bmp");

        const std::vector<BYTE> saved = ReadBytes(folder / L"saved.bmp");
        ASSERT_GE(saved.size(), 54u);
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        std::memcpy(&file, saved.data(), sizeof(file));
        std::memcpy(&info, saved.data() + sizeof(file), sizeof(info));
        EXPECT_EQ(info.biBitCount, 16);
        EXPECT_EQ(info.biCompression, DWORD(layout.savedWithMasks ? BI_BITFIELDS : BI_RGB));
        for (size_t i = 0; layout.savedWithMasks && i < layout.masks.size(); ++i) {
            DWORD mask = 0;
            std::memcpy(&mask, saved.data() + 54 + 4 * i, sizeof(mask));
            EXPECT_EQ(mask, layout.masks[i]) << "mask " << i;
        }
        ASSERT_EQ(saved.size(), file.bfOffBits + size_t{stride} * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                WORD value = 0;
                std::memcpy(&value, saved.data() + file.bfOffBits + (height - 1 - y) * stride + 2 * x, 2);
                EXPECT_EQ(value, pixel(x, y, layout.used)) << x << "," << y;
            }
    }
}

// Icons of Windows Vista and later hold their 256-pixel image as a PNG, often
// as the first image. The loader shows the largest image it can: the PNG,
// or the largest of the others when the PNG cannot be read.
TEST_F(Picture, AnIconShowsItsLargestImageThatCanBeShownPngIncluded) {
    const COLORREF kGreen = RGB(30, 200, 60);
    const testimg::Bytes png = testimg::EncodeRgba(256, 256, [&](uint32_t, uint32_t) {
        return 0xFF000000u | GetRValue(kGreen) << 16 | GetGValue(kGreen) << 8 | GetBValue(kGreen);
    });
    std::vector<BYTE> damagedPng = png;
    damagedPng.resize(30); // the header chunk cut short
    const IconEntry pngEntry{0, 0, 32, png}, small{24, 16, 24, HalvesIconImage(24, 16)},
        larger{48, 32, 24, HalvesIconImage(48, 32)}, broken{0, 0, 32, damagedPng};
    struct Case {
        const char* name;
        std::vector<IconEntry> entries;
        SIZE size;
        COLORREF centre;
    };
    const Case cases[] = {
        {"PNG first", {pngEntry, small}, {256, 256}, kGreen},
        {"PNG last", {small, larger, pngEntry}, {256, 256}, kGreen},
        {"damaged PNG first", {broken, small, larger}, {48, 32}, kBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        picture.LoadFromFile(Write(L"vista.ico", IconFileOf(c.entries)));
        ASSERT_EQ(picture.Kind(), TPictureKind::Icon);
        EXPECT_EQ(picture.Width(), c.size.cx);
        EXPECT_EQ(picture.Height(), c.size.cy);
        UniqueBitmap rendered = picture.RenderToBitmap();
        ASSERT_TRUE(rendered);
        EXPECT_EQ(PixelOf(rendered.get(), c.size.cx * 3 / 4, c.size.cy / 2), c.centre);
    }
}
