// The picture component with the fake plug-in: routing by extension, missing
// plug-ins, result codes, the offset-128 retries, JPEG previews, the PIC
// aspect correction, and the framework's own formats.
#include "TAllFixture.h"
#include "framework/Exception.h"

using namespace pictest;

namespace {
const std::wstring kGif = L"C:\\WALL\\A.GIF";
const std::wstring kJpeg = L"C:\\WALL\\photo.jpg";
const std::wstring kPic = L"C:\\WALL\\girl.pic";

class PictureComponent : public TAllFixture {};
} // namespace

TEST_F(PictureComponent, ConstructedWithAutoSizeAndNoPicture) {
    EXPECT_TRUE(all->AutoSize());
    EXPECT_EQ(all->PictureName(), L"");
    EXPECT_FALSE(all->PreView());
    EXPECT_EQ(all->Error(), 0);
    EXPECT_TRUE(all->Picture().Empty());
}

TEST_F(PictureComponent, ExtensionsChooseThePlugin) {
    InstallAll();
    struct Case {
        const wchar_t* path;
        const char* library;
    };
    for (const Case& c : {Case{L"C:\\x\\a.jpg", "ifjpeg.spi"}, Case{L"C:\\x\\a.Jpe", "ifjpeg.spi"},
                          Case{L"C:\\x\\A.JPG", "ifjpeg.spi"}, Case{L"C:\\x\\a.gif", "ifgif.spi"},
                          Case{L"C:\\x\\a.tif", "iftiff.spi"}, Case{L"C:\\x\\a.tiff", "iftiff.spi"},
                          Case{L"C:\\x\\a.pic", "ifpic.spi"}, Case{L"C:\\x\\a.P2", "ifpic2.spi"},
                          Case{L"C:\\x\\a.mag", "ifmag.spi"}, Case{L"C:\\x\\a.q4", "ifxld4.spi"},
                          Case{L"C:\\x\\a.pi", "ifpi.spi"}, Case{L"C:\\x\\a.png", "ifpng.spi"},
                          Case{L"C:\\x\\a.jpeg", "ifjpeg.spi"}, Case{L"C:\\x\\A.JFIF", "ifjpeg.spi"}}) {
        Load(c.path);
        EXPECT_EQ(LoadedModule(), c.library) << c.path;
        EXPECT_EQ(script->Attached, 1) << c.path;
        EXPECT_EQ(all->Error(), 0) << c.path;
        EXPECT_EQ(all->PictureName(), c.path);
        EXPECT_TRUE(modal->Messages.empty()) << c.path;
    }
}

TEST_F(PictureComponent, UnsupportedExtensionsAreRefusedWithoutAPlugin) {
    InstallAll();
    for (const wchar_t* path :
         {L"C:\\x\\a.jfi", L"C:\\x\\picture", L"C:\\x.jpg\\picture", L"C:\\x\\a.pngx"}) {
        Load(path);
        EXPECT_EQ(all->Error(), 10) << path;
        EXPECT_EQ(OnlyMessage(), std::wstring(L"サポートされない拡張子 [") + path + L"]");
        EXPECT_EQ(all->PictureName(), L"");
        EXPECT_EQ(script->Attached, 0) << path;
        EXPECT_TRUE(all->Picture().Empty());
    }
}

TEST_F(PictureComponent, UnsupportedExtensionResetsPreviewAndOriginalSize) {
    InstallAll();
    all->SetPreView(true);
    script->Width = 10;
    script->Height = 8;
    Load(kJpeg);
    ASSERT_EQ(all->OrgWidth(), 10);
    Load(L"C:\\x\\a.jfi");
    EXPECT_FALSE(all->PreView());
    EXPECT_EQ(all->OrgWidth(), 0);
    EXPECT_EQ(all->OrgHeight(), 0);
}

TEST_F(PictureComponent, MissingPluginsAreNamedInTheMessage) {
    struct Case {
        std::wstring path;
        const wchar_t* text;
    };
    for (const Case& c :
         {Case{kGif, L"IFGIF.SPI not found"}, Case{kJpeg, L"IFJPG.SPI not found"},
          Case{L"C:\\x\\a.tiff", L"IFTIFF.SPI not found"}, Case{kPic, L"IFPIC.SPI not found"},
          Case{L"C:\\x\\a.p2", L"IFPIC2.SPI not found"}, Case{L"C:\\x\\a.mag", L"IFMAG.SPI not found"},
          Case{L"C:\\x\\a.q4", L"IFXLD4.SPI not found"}, Case{L"C:\\x\\a.pi", L"IFPI.SPI not found"}}) {
        Load(c.path);
        EXPECT_EQ(all->Error(), 20) << c.path;
        EXPECT_EQ(OnlyMessage(), std::wstring(c.text) + L" [" + c.path + L"]");
        EXPECT_EQ(all->PictureName(), L"");
        EXPECT_TRUE(all->Picture().Empty());
    }
}

TEST_F(PictureComponent, MissingPluginStillResetsPreviewForOtherKinds) {
    Install(L"ifjpeg.spi");
    all->SetPreView(true);
    script->Width = 10;
    script->Height = 8;
    Load(kJpeg);
    ASSERT_EQ(all->OrgWidth(), 10);
    Load(kGif);
    EXPECT_EQ(all->Error(), 20);
    EXPECT_FALSE(all->PreView());
    EXPECT_EQ(all->OrgWidth(), 0);
    EXPECT_EQ(all->OrgHeight(), 0);
}

TEST_F(PictureComponent, GifReadAgainAt128AfterUnknownFormat) {
    Install(L"ifgif.spi");
    script->Results[fakespi::kPicture][0] = 2;
    Load(kGif);
    EXPECT_EQ(all->Error(), 0);
    EXPECT_TRUE(modal->Messages.empty());
    ASSERT_EQ(script->CallCount, 2);
    EXPECT_EQ(CallAt(0).Entry, fakespi::kPicture);
    EXPECT_EQ(CallAt(0).Offset, 0);
    EXPECT_EQ(CallAt(1).Entry, fakespi::kPicture);
    EXPECT_EQ(CallAt(1).Offset, 128);
    EXPECT_STREQ(CallAt(1).Path, "C:\\WALL\\A.GIF");
    ASSERT_EQ(all->Picture().Kind(), TPictureKind::Bitmap);
    // The picture is the one read at offset 128.
    for (auto [x, y] : {std::pair{0, 0}, std::pair{15, 0}, std::pair{3, 11}})
        EXPECT_EQ(PixelOf(all->Picture().Bitmap(), x, y), fakespi::DirectColor(x, y, 128));
}

TEST_F(PictureComponent, GifBrokenDataIsNotAskedAgain) {
    Install(L"ifgif.spi");
    script->Results[fakespi::kPicture][0] = 3;
    script->Results[fakespi::kPicture][1] = 0;
    Load(kGif);
    EXPECT_EQ(script->CallCount, 1);
    EXPECT_EQ(all->Error(), 3);
    EXPECT_EQ(OnlyMessage(), L"データが壊れている [C:\\WALL\\A.GIF]");
    EXPECT_EQ(all->PictureName(), L"");
    EXPECT_TRUE(all->Picture().Empty());
}

TEST_F(PictureComponent, UnknownFormatTwiceEndsWithCode2) {
    Install(L"ifgif.spi");
    script->Results[fakespi::kPicture][0] = 2;
    script->Results[fakespi::kPicture][1] = 2;
    Load(kGif);
    EXPECT_EQ(script->CallCount, 2);
    EXPECT_EQ(all->Error(), 2);
    EXPECT_EQ(OnlyMessage(), L"未知のフォーマット [C:\\WALL\\A.GIF]");
}

TEST_F(PictureComponent, ResultCodesShowTheirTexts) {
    Install(L"ifgif.spi");
    struct Case {
        int code;
        const wchar_t* text;
    };
    for (const Case& c : {Case{-1, L"その他のエラー"}, Case{1, L"その他のエラー"}, Case{7, L"その他のエラー"},
                          Case{8, L"その他のエラー"}, Case{4, L"メモリーが確保出来ない"},
                          Case{5, L"メモリーエラー"}, Case{6, L"ファイルリードエラー"}}) {
        script->Results[fakespi::kPicture][0] = c.code;
        Load(kGif);
        EXPECT_EQ(all->Error(), c.code);
        EXPECT_EQ(OnlyMessage(), std::wstring(c.text) + L" [C:\\WALL\\A.GIF]");
        EXPECT_EQ(script->CallCount, 1) << c.code;
        EXPECT_EQ(all->PictureName(), L"");
    }
}

TEST_F(PictureComponent, EmptyNameAfterAFailureClearsTheError) {
    Install(L"ifgif.spi");
    script->Results[fakespi::kPicture][0] = 5;
    Load(kGif);
    ASSERT_EQ(all->Error(), 5);
    all->SetPictureName(L"");
    EXPECT_EQ(all->Error(), 0);
    EXPECT_TRUE(all->Picture().Empty());
    EXPECT_EQ(all->PictureName(), L"");
}

TEST_F(PictureComponent, JpegAndJfifFollowTheJpegRules) {
    Install(L"ifjpeg.spi");
    for (const wchar_t* path : {L"C:\\WALL\\photo.jpeg", L"C:\\WALL\\photo.JFIF"}) {
        script->Results[fakespi::kInfo][0] = 2;
        all->SetPreView(true);
        Load(path);
        EXPECT_EQ(all->Error(), 0) << path;
        ASSERT_EQ(script->CallCount, 3) << path;
        EXPECT_EQ(CallAt(0).Entry, fakespi::kInfo);
        EXPECT_EQ(CallAt(1).Offset, 128) << "the info is asked again at 128";
        EXPECT_EQ(CallAt(2).Entry, fakespi::kPreview);
        EXPECT_EQ(CallAt(2).Offset, 128);
        EXPECT_TRUE(all->PreView()) << "the preview stays on for JPEG pictures";
        EXPECT_EQ(all->OrgWidth(), 16);
        all->SetPreView(false);
    }
}

TEST_F(PictureComponent, JpegInfoRetriedAt128ThenFails) {
    Install(L"ifjpeg.spi");
    script->Results[fakespi::kInfo][0] = 2;
    script->Results[fakespi::kInfo][1] = 3;
    Load(kJpeg);
    ASSERT_EQ(script->CallCount, 2);
    EXPECT_EQ(CallAt(0).Entry, fakespi::kInfo);
    EXPECT_EQ(CallAt(0).Offset, 0);
    EXPECT_EQ(CallAt(1).Entry, fakespi::kInfo);
    EXPECT_EQ(CallAt(1).Offset, 128);
    EXPECT_EQ(all->Error(), 3);
    EXPECT_EQ(OnlyMessage(), L"データが壊れている [C:\\WALL\\photo.jpg]");
    EXPECT_EQ(all->PictureName(), L"");
}

TEST_F(PictureComponent, JpegReadAtTheOffsetItsInfoWasFoundAt) {
    Install(L"ifjpeg.spi");
    script->Results[fakespi::kInfo][0] = 6;
    Load(kJpeg);
    EXPECT_EQ(all->Error(), 0);
    ASSERT_EQ(script->CallCount, 3);
    EXPECT_EQ(CallAt(2).Entry, fakespi::kPicture);
    EXPECT_EQ(CallAt(2).Offset, 128);
    EXPECT_EQ(PixelOf(all->Picture().Bitmap(), 5, 5), fakespi::DirectColor(5, 5, 128));

    script->Results[fakespi::kInfo][0] = 0;
    Load(kJpeg);
    ASSERT_EQ(script->CallCount, 2) << "no retry after a good first call";
    EXPECT_EQ(CallAt(1).Entry, fakespi::kPicture);
    EXPECT_EQ(CallAt(1).Offset, 0);
}

TEST_F(PictureComponent, JpegPictureFailureIsReported) {
    Install(L"ifjpeg.spi");
    script->Results[fakespi::kPicture][0] = 4;
    Load(kJpeg);
    EXPECT_EQ(all->Error(), 4);
    EXPECT_EQ(OnlyMessage(), L"メモリーが確保出来ない [C:\\WALL\\photo.jpg]");
    EXPECT_EQ(script->CallCount, 2) << "the picture call is not retried";
}

TEST_F(PictureComponent, JpegPreviewIsAQuarterAndKeepsTheOriginalSize) {
    InstallAll();
    all->SetPreView(true);
    EXPECT_EQ(script->Attached, 0) << "no picture name, nothing to load";
    script->Width = 10;
    script->Height = 8;
    script->PreviewWidth = 3;
    script->PreviewHeight = 2;
    Load(kJpeg);
    EXPECT_EQ(all->Error(), 0);
    ASSERT_EQ(script->CallCount, 2);
    EXPECT_EQ(CallAt(1).Entry, fakespi::kPreview);
    SIZE size = BitmapSize();
    EXPECT_EQ(size.cx, 3);
    EXPECT_EQ(size.cy, 2);
    EXPECT_EQ(all->OrgWidth(), 10);
    EXPECT_EQ(all->OrgHeight(), 8);
    EXPECT_TRUE(all->PreView());
    EXPECT_EQ(PixelOf(all->Picture().Bitmap(), 2, 1), fakespi::DirectColor(2, 1, 0));

    Load(kGif);
    EXPECT_EQ(all->Error(), 0);
    EXPECT_EQ(all->OrgWidth(), 0);
    EXPECT_EQ(all->OrgHeight(), 0);
    EXPECT_FALSE(all->PreView());
}

TEST_F(PictureComponent, JpegFullPictureInTheScreensFormat) {
    Install(L"ifjpeg.spi");
    script->Width = 10;
    script->Height = 8;
    Load(kJpeg);
    SIZE size = BitmapSize();
    EXPECT_EQ(size.cx, 10);
    EXPECT_EQ(size.cy, 8);
    EXPECT_EQ(BitmapInfo(all->Picture().Bitmap()).bmBitsPixel, ScreenBits());
    EXPECT_EQ(all->Picture().Palette(), nullptr);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(PixelOf(all->Picture().Bitmap(), x, y), fakespi::DirectColor(x, y, 0)) << x << "," << y;
    EXPECT_EQ(all->OrgWidth(), 10);
    // AutoSize: the control takes the picture's size.
    EXPECT_EQ(all->Width(), 10);
    EXPECT_EQ(all->Height(), 8);
}

TEST_F(PictureComponent, TallJpegRowsKeepTheirPlaceAcrossConversionBands) {
    // Taller than one band of converted rows, with a part band at the end.
    Install(L"ifjpeg.spi");
    for (int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        script->Width = 300;
        script->Height = 500;
        script->BitCount = bits;
        Load(kJpeg);
        ASSERT_EQ(all->Error(), 0);
        SIZE size = BitmapSize();
        ASSERT_EQ(size.cx, 300);
        ASSERT_EQ(size.cy, 500);
        for (int y : {0, 1, 31, 170, 171, 216, 217, 218, 219, 300, 435, 436, 437, 498, 499})
            for (int x : {0, 1, 150, 299})
                EXPECT_EQ(PixelOf(all->Picture().Bitmap(), x, y), fakespi::DirectColor(x, y, 0)) << x << "," << y;
        all->SetPictureName(L"");
    }
}

TEST_F(PictureComponent, WritingPreviewReloadsAndAFailureKeepsThePicture) {
    Install(L"ifjpeg.spi");
    script->Width = 10;
    script->Height = 8;
    Load(kJpeg);
    ASSERT_EQ(BitmapSize().cx, 10);
    ResetRecord();
    all->SetPreView(true);
    ExpectCleanedUp();
    EXPECT_EQ(CallAt(1).Entry, fakespi::kPreview);
    EXPECT_EQ(BitmapSize().cx, 3);

    script->Results[fakespi::kPicture][0] = 3;
    ResetRecord();
    all->SetPreView(false);
    ExpectCleanedUp();
    EXPECT_EQ(all->Error(), 3);
    EXPECT_EQ(all->PictureName(), L"");
    ASSERT_FALSE(all->Picture().Empty()) << "the picture shown before stays";
    EXPECT_EQ(BitmapSize().cx, 3);
}

TEST_F(PictureComponent, PicDensitiesStretchTheNarrowSide) {
    Install(L"ifpic.spi");
    script->Width = 640;
    script->Height = 400;
    struct Case {
        uint16_t x, y;
        int width, height;
    };
    for (const Case& c : {Case{1, 2, 1280, 400}, Case{2, 1, 640, 800}, Case{1, 1, 640, 400}}) {
        script->XDensity = c.x;
        script->YDensity = c.y;
        Load(kPic);
        EXPECT_EQ(all->Error(), 0);
        ASSERT_EQ(script->CallCount, 2);
        EXPECT_EQ(CallAt(0).Entry, fakespi::kPicture);
        EXPECT_EQ(CallAt(1).Entry, fakespi::kInfo);
        EXPECT_EQ(CallAt(1).Offset, 0);
        SIZE size = BitmapSize();
        EXPECT_EQ(size.cx, c.width) << c.x << "/" << c.y;
        EXPECT_EQ(size.cy, c.height) << c.x << "/" << c.y;
        EXPECT_EQ(BitmapInfo(all->Picture().Bitmap()).bmBitsPixel, ScreenBits());
        int sx = c.width / 640, sy = c.height / 400;
        for (auto [x, y] : {std::pair{0, 0}, std::pair{17, 33}, std::pair{639, 399}, std::pair{320, 7}})
            EXPECT_EQ(PixelOf(all->Picture().Bitmap(), x * sx, y * sy), fakespi::DirectColor(x, y, 0));
    }
}

TEST_F(PictureComponent, Pic2IsCorrectedAndItsInfoReadAtOffset0) {
    Install(L"ifpic2.spi");
    script->Width = 40;
    script->Height = 30;
    script->XDensity = 1;
    script->YDensity = 3;
    script->Results[fakespi::kPicture][0] = 2;
    Load(L"C:\\x\\b.p2");
    EXPECT_EQ(all->Error(), 0);
    ASSERT_EQ(script->CallCount, 3);
    EXPECT_EQ(CallAt(1).Offset, 128);
    EXPECT_EQ(CallAt(2).Entry, fakespi::kInfo);
    EXPECT_EQ(CallAt(2).Offset, 0);
    EXPECT_EQ(BitmapSize().cx, 120);
    EXPECT_EQ(BitmapSize().cy, 30);
}

TEST_F(PictureComponent, NoCorrectionWithoutDensities) {
    Install(L"ifpic.spi");
    script->Width = 64;
    script->Height = 40;
    for (auto [x, y] : {std::pair{0, 2}, std::pair{2, 0}, std::pair{0, 0}}) {
        script->XDensity = static_cast<uint16_t>(x);
        script->YDensity = static_cast<uint16_t>(y);
        Load(kPic);
        EXPECT_EQ(all->Error(), 0);
        EXPECT_EQ(BitmapSize().cx, 64);
        EXPECT_EQ(BitmapSize().cy, 40);
    }
    // A failed information call delivers nothing to correct with.
    script->XDensity = 1;
    script->YDensity = 2;
    script->Results[fakespi::kInfo][0] = 2;
    Load(kPic);
    EXPECT_EQ(all->Error(), 0);
    EXPECT_TRUE(modal->Messages.empty());
    EXPECT_EQ(BitmapSize().cx, 64);
    EXPECT_EQ(BitmapSize().cy, 40);
}

TEST_F(PictureComponent, OtherKindsAreNeverCorrected) {
    Install(L"ifmag.spi");
    script->Width = 64;
    script->Height = 40;
    script->XDensity = 1;
    script->YDensity = 2;
    Load(L"C:\\x\\a.mag");
    EXPECT_EQ(script->CallCount, 1);
    EXPECT_EQ(BitmapSize().cx, 64);
}

TEST_F(PictureComponent, IndexedPicturesOnADeepDisplayGetNoPalette) {
    if (ScreenBits() <= 8) GTEST_SKIP() << "runs on a display of more than 8 bits";
    Install(L"ifgif.spi");
    script->Width = 9;
    script->Height = 5;
    for (int bits : {1, 4, 8}) {
        script->BitCount = bits;
        Load(kGif);
        EXPECT_EQ(all->Error(), 0);
        EXPECT_EQ(all->Picture().Palette(), nullptr) << bits;
        EXPECT_EQ(BitmapInfo(all->Picture().Bitmap()).bmBitsPixel, ScreenBits());
        int table = 1 << bits;
        for (auto [x, y] : {std::pair{0, 0}, std::pair{8, 4}, std::pair{3, 2}}) {
            RGBQUAD q = fakespi::TableColor(fakespi::PixelIndex(x, y, 0, table));
            EXPECT_EQ(PixelOf(all->Picture().Bitmap(), x, y), RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)) << bits;
        }
    }
}
