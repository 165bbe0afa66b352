// The decisions of picture loading that need no window: kinds by extension,
// plug-in names, result texts, sizes, palette sizes, plug-in paths and the
// checks on a plug-in's DIB.
#include "wallpaper/PictureRules.h"

#include <gtest/gtest.h>

#include <string>

TEST(PictureKind, JpegExtensionsInAnyCaseGoToTheJpegPlugin) {
    for (const wchar_t* path : {L"a.jpg", L"a.Jpe", L"A.JPG", L"C:\\WALL\\x.jPg"}) {
        auto kind = PictureKindOf(path);
        ASSERT_TRUE(kind.has_value()) << path;
        EXPECT_EQ(*kind, pkJpeg) << path;
        EXPECT_EQ(PluginOf(*kind).Library, L"ifjpeg.spi");
    }
}

TEST(PictureKind, TifAndTiffGoToTheTiffPlugin) {
    for (const wchar_t* path : {L"a.tif", L"a.tiff", L"B.TIFF"}) {
        auto kind = PictureKindOf(path);
        ASSERT_TRUE(kind.has_value()) << path;
        EXPECT_EQ(*kind, pkTiff) << path;
        EXPECT_EQ(PluginOf(*kind).Library, L"iftiff.spi");
    }
}

TEST(PictureKind, EveryExtensionOfTheTable) {
    struct Case {
        const wchar_t* path;
        TPictureFileKind kind;
        const wchar_t* library;
    };
    for (const Case& c : {Case{L"a.gif", pkGif, L"ifgif.spi"}, Case{L"a.pic", pkPic, L"ifpic.spi"},
                          Case{L"a.p2", pkPic2, L"ifpic2.spi"}, Case{L"a.mag", pkMag, L"ifmag.spi"},
                          Case{L"a.q4", pkXld4, L"ifxld4.spi"}, Case{L"a.pi", pkPi, L"ifpi.spi"},
                          // Beyond the original kinds: the names cameras and browsers write.
                          Case{L"a.jpeg", pkJpeg, L"ifjpeg.spi"}, Case{L"A.JFIF", pkJpeg, L"ifjpeg.spi"},
                          Case{L"a.png", pkPng, L"ifpng.spi"}, Case{L"C:\\W\\B.PNG", pkPng, L"ifpng.spi"}}) {
        auto kind = PictureKindOf(c.path);
        ASSERT_TRUE(kind.has_value()) << c.path;
        EXPECT_EQ(*kind, c.kind) << c.path;
        EXPECT_EQ(PluginOf(*kind).Library, c.library) << c.path;
    }
    for (const wchar_t* path : {L"a.bmp", L"a.ICO", L"a.Wmf", L"a.emf"})
        EXPECT_EQ(PictureKindOf(path), pkFramework) << path;
    EXPECT_EQ(PluginNotFoundText(pkPng), L"IFPNG.SPI not found");
}

TEST(PictureKind, NoExtensionOrUnknownExtensionIsUnsupported) {
    EXPECT_FALSE(PictureKindOf(L"C:\\WALL\\picture").has_value());
    EXPECT_FALSE(PictureKindOf(L"C:\\WALL.JPG\\picture").has_value())
        << "a dot in a folder name is no extension";
    EXPECT_FALSE(PictureKindOf(L"a.jfi").has_value());
    EXPECT_FALSE(PictureKindOf(L"a.").has_value());
    EXPECT_FALSE(PictureKindOf(L"a.pic2").has_value());
    EXPECT_FALSE(PictureKindOf(L"").has_value());
}

TEST(PictureKind, OnlyAsciiLettersAreUpperCased) {
    EXPECT_EQ(PictureExtension(L"x.ｊｐｇ"), L".ｊｐｇ");
    EXPECT_FALSE(PictureKindOf(L"x.ｊｐｇ").has_value());
    EXPECT_EQ(PictureExtension(L"dir.d\\file.tar.Gif"), L".GIF");
}

TEST(PluginNames, NotFoundTextsUseTheTableNames) {
    EXPECT_EQ(PluginNotFoundText(pkJpeg), L"IFJPG.SPI not found");
    EXPECT_EQ(PluginNotFoundText(pkGif), L"IFGIF.SPI not found");
    EXPECT_EQ(PluginNotFoundText(pkTiff), L"IFTIFF.SPI not found");
    EXPECT_EQ(PluginNotFoundText(pkPic2), L"IFPIC2.SPI not found");
    EXPECT_EQ(PluginNotFoundText(pkXld4), L"IFXLD4.SPI not found");
    EXPECT_EQ(PluginNotFoundText(pkPi), L"IFPI.SPI not found");
}

TEST(PluginResult, CodesHaveTheirTexts) {
    EXPECT_EQ(PluginResultText(2), L"未知のフォーマット");
    EXPECT_EQ(PluginResultText(3), L"データが壊れている");
    EXPECT_EQ(PluginResultText(4), L"メモリーが確保出来ない");
    EXPECT_EQ(PluginResultText(5), L"メモリーエラー");
    EXPECT_EQ(PluginResultText(6), L"ファイルリードエラー");
    for (int code : {-1, 1, 7, 8, 9, -100, 12345})
        EXPECT_EQ(PluginResultText(code), L"その他のエラー") << code;
}

TEST(PreviewSize, QuarterRoundedUp) {
    EXPECT_EQ(PreviewExtent(10), 3);
    EXPECT_EQ(PreviewExtent(8), 2);
    EXPECT_EQ(PreviewExtent(1), 1);
    EXPECT_EQ(PreviewExtent(4), 1);
    EXPECT_EQ(PreviewExtent(5), 2);
    EXPECT_EQ(PreviewExtent(1601), 401);
}

TEST(AspectSize, DensitiesStretchTheNarrowerSide) {
    auto wide = AspectCorrectedSize(640, 400, 1, 2);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->cx, 1280);
    EXPECT_EQ(wide->cy, 400);
    auto tall = AspectCorrectedSize(640, 400, 2, 1);
    ASSERT_TRUE(tall.has_value());
    EXPECT_EQ(tall->cx, 640);
    EXPECT_EQ(tall->cy, 800);
    // Multiplication first, then the division truncates.
    auto odd = AspectCorrectedSize(101, 7, 3, 4);
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->cx, 134);
    EXPECT_EQ(odd->cy, 7);
    auto equal = AspectCorrectedSize(10, 9, 2, 2);
    ASSERT_TRUE(equal.has_value()) << "only densities of 1 and 1 skip the second bitmap";
    EXPECT_EQ(equal->cx, 10);
    EXPECT_EQ(equal->cy, 9);
}

TEST(AspectSize, NoCorrectionForSquarePixelsOrAZeroDensity) {
    EXPECT_FALSE(AspectCorrectedSize(640, 400, 1, 1).has_value());
    EXPECT_FALSE(AspectCorrectedSize(640, 400, 0, 2).has_value());
    EXPECT_FALSE(AspectCorrectedSize(640, 400, 2, 0).has_value());
    EXPECT_FALSE(AspectCorrectedSize(640, 400, 0, 0).has_value());
    EXPECT_FALSE(AspectCorrectedSize(40000, 400, 1, 65535).has_value()) << "too wide for a bitmap";
}

TEST(Palette, OnlyIndexedPicturesOnAnEightBitDisplay) {
    EXPECT_TRUE(NeedsPalette(4, 8));
    EXPECT_TRUE(NeedsPalette(8, 8));
    EXPECT_TRUE(NeedsPalette(1, 8));
    EXPECT_FALSE(NeedsPalette(24, 8));
    EXPECT_FALSE(NeedsPalette(16, 8));
    EXPECT_FALSE(NeedsPalette(8, 16));
    EXPECT_FALSE(NeedsPalette(4, 32));
    EXPECT_FALSE(NeedsPalette(4, 4));
}

TEST(Palette, EntriesFromClrUsedOrTheDepth) {
    EXPECT_EQ(PaletteEntryCount(4, 0), 16);
    EXPECT_EQ(PaletteEntryCount(8, 0), 256);
    EXPECT_EQ(PaletteEntryCount(1, 0), 2);
    EXPECT_EQ(PaletteEntryCount(8, 20), 20);
    EXPECT_EQ(PaletteEntryCount(4, 5), 5);
    EXPECT_EQ(PaletteEntryCount(4, 300), 16) << "never more entries than the depth has colours";
    EXPECT_EQ(PaletteEntryCount(24, 0), 0);
}

TEST(PluginPath, FitsIn255Bytes) {
    std::wstring path = L"C:\\" + std::wstring(248, L'a') + L".gif"; // 255 characters
    auto ansi = FitPluginPath(path, 1252);
    ASSERT_TRUE(ansi.has_value());
    EXPECT_EQ(ansi->size(), 255u);
    EXPECT_FALSE(FitPluginPath(path + L"x", 1252).has_value()) << "256 bytes do not fit";
}

TEST(PluginPath, DoubleByteCharactersCountTwice) {
    // 126 characters of two bytes in Shift-JIS, plus "C:\" and ".gif".
    std::wstring name(124, L'画');
    std::wstring path = L"C:\\" + name + L".gif";
    auto ansi = FitPluginPath(path, 932);
    ASSERT_TRUE(ansi.has_value());
    EXPECT_EQ(ansi->size(), 3u + 248u + 4u);
    EXPECT_FALSE(FitPluginPath(L"C:\\" + name + L"画.gif", 932).has_value());
}

TEST(PluginPath, CharactersTheCodePageCannotHoldAreRefused) {
    EXPECT_FALSE(FitPluginPath(L"C:\\한국.gif", 932).has_value());
    EXPECT_FALSE(FitPluginPath(L"C:\\Ābc.gif", 1252).has_value()) << "a best-fit look-alike is another file";
    EXPECT_TRUE(FitPluginPath(L"C:\\壁紙\\画像.gif", 932).has_value());
    EXPECT_FALSE(FitPluginPath(L"", 932).has_value());
}

namespace {
BITMAPINFOHEADER Header(int width, int height, int bits, DWORD compression = BI_RGB, DWORD clrUsed = 0) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biCompression = compression;
    h.biClrUsed = clrUsed;
    return h;
}
} // namespace

TEST(PluginDib, BlocksMustHoldHeaderTableAndRows) {
    // 10 pixels of 24 bits: rows of 32 bytes.
    EXPECT_TRUE(DibFitsBlocks(Header(10, 3, 24), 40, 96));
    EXPECT_FALSE(DibFitsBlocks(Header(10, 3, 24), 40, 95));
    EXPECT_TRUE(DibFitsBlocks(Header(10, -3, 24), 40, 96)) << "top-down rows";
    // 4 bits: 16 colours follow the header.
    EXPECT_TRUE(DibFitsBlocks(Header(8, 2, 4), 40 + 64, 8));
    EXPECT_FALSE(DibFitsBlocks(Header(8, 2, 4), 40 + 63, 8));
    EXPECT_TRUE(DibFitsBlocks(Header(8, 2, 4, BI_RGB, 3), 40 + 12, 8));
    EXPECT_FALSE(DibFitsBlocks(Header(8, 2, 8, BI_RGB, 3), 40 + 12, 15));
    EXPECT_TRUE(DibFitsBlocks(Header(4, 4, 32, BI_BITFIELDS), 40 + 12, 64));
    EXPECT_FALSE(DibFitsBlocks(Header(4, 4, 32, BI_BITFIELDS), 40, 64));
}

TEST(PluginDib, UnknownDepthsSizesAndCompressionsAreRefused) {
    EXPECT_FALSE(DibFitsBlocks(Header(0, 3, 24), 40, 1000));
    EXPECT_FALSE(DibFitsBlocks(Header(-4, 3, 24), 40, 1000));
    EXPECT_FALSE(DibFitsBlocks(Header(4, 0, 24), 40, 1000));
    EXPECT_FALSE(DibFitsBlocks(Header(4, 3, 12), 40 + 4096 * 4, 1000));
    EXPECT_FALSE(DibFitsBlocks(Header(4, 3, 24, BI_JPEG), 40, 1000));
    auto small = Header(4, 3, 24);
    small.biSize = 12;
    EXPECT_FALSE(DibFitsBlocks(small, 40, 1000));
    auto rle = Header(4, 3, 8, BI_RLE8);
    rle.biSizeImage = 20;
    EXPECT_TRUE(DibFitsBlocks(rle, 40 + 1024, 20));
    EXPECT_FALSE(DibFitsBlocks(rle, 40 + 1024, 19));
    EXPECT_FALSE(DibFitsBlocks(Header(100000, 100000, 32), 40, 1000)) << "huge sizes do not overflow";
}

TEST(PictureKinds, OneListServesTheLoaderTheDropAndTheAddDialog) {
    EXPECT_EQ(PictureFileFilter(),
              L"全ての画像ファイル|*.bmp;*.jpg;*.jpe;*.gif;*.tif;*.tiff;*.pic;*.p2;*.mag;*.pi;*.q4;*.png;*.jpeg;"
              L"*.jfif|BMPファイル|*.bmp|JPGファイル|*.jpg;*.jpe;*.jpeg;*.jfif|GIFファイル|*.gif|"
              L"TIFFファイル|*.tif;*.tiff|PICファイル|*.pic|PICT2ファイル|*.p2|MAGファイル|*.MAG|PIファイル|*.PI|"
              L"XLD4ファイル|*.Q4|PNGファイル|*.png");
    struct Case {
        const wchar_t* path;
        bool added, loaded;
    } cases[] = {{L"C:\\a.Jpg", true, true},  {L"C:\\a.jfif", true, true}, {L"C:\\a.Q4", true, true},
                 {L"C:\\a.ico", false, true}, {L"C:\\a.emf", false, true}, {L"C:\\a.txt", false, false},
                 {L"C:\\d.bmp\\noext", false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsPictureFile(c.path), c.added) << testing::PrintToString(std::wstring(c.path));
        EXPECT_EQ(PictureKindOf(c.path).has_value(), c.loaded) << testing::PrintToString(std::wstring(c.path));
    }
}
