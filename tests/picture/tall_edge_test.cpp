// The picture component at its edges: plug-ins without an entry point,
// memory blocks on failing calls, unusable pictures, paths a plug-in cannot
// take, the framework's own formats, and the palette on an 8-bit display.
#include "TAllFixture.h"
#include "framework/Exception.h"
#include "framework/Text.h"

#include <cstdlib>

using namespace pictest;

namespace {
const std::wstring kGif = L"C:\\WALL\\A.GIF";

class PictureComponentEdges : public TAllFixture {};

std::wstring Wide(const char* ansi) {
    return CodePageToWide(ansi, CP_ACP);
}
} // namespace

TEST_F(PictureComponentEdges, AMissingEntryPointIsNeverCalled) {
    Install(L"ifjpeg.spi", true);
    Load(L"C:\\x\\a.jpg");
    EXPECT_EQ(script->CallCount, 0);
    EXPECT_NE(all->Error(), 0);
    EXPECT_EQ(OnlyMessage(), L"その他のエラー [C:\\x\\a.jpg]");
    EXPECT_EQ(all->PictureName(), L"");
}

TEST_F(PictureComponentEdges, KindsThatNeedOnlyGetPictureWorkWithout) {
    Install(L"ifgif.spi", true);
    Load(kGif);
    EXPECT_EQ(all->Error(), 0);
    EXPECT_EQ(script->CallCount, 1);
    // PIC without an information call: shown as decoded.
    Install(L"ifpic.spi", true);
    script->XDensity = 1;
    script->YDensity = 2;
    Load(L"C:\\x\\a.pic");
    EXPECT_EQ(all->Error(), 0);
    EXPECT_EQ(script->CallCount, 1);
    EXPECT_EQ(BitmapSize().cx, 16);
    EXPECT_EQ(BitmapSize().cy, 12);
}

TEST_F(PictureComponentEdges, BlocksOfSuccessfulAndFailingCallsAreFreed) {
    InstallAll();
    script->TextInfo = 1;
    script->BlocksOnFailure = 1;
    script->Results[fakespi::kPicture][0] = 2; // a GIF: blocks at 0, then the picture at 128
    Load(kGif);
    EXPECT_EQ(all->Error(), 0);
    EXPECT_EQ(script->BlockCount, 4);
    Load(L"C:\\x\\a.pic"); // picture blocks and a text block at 128, the information's text block
    EXPECT_EQ(script->BlockCount, 5);
    script->Results[fakespi::kInfo][0] = 3;
    script->Results[fakespi::kInfo][1] = 3;
    Load(L"C:\\x\\a.jpg"); // two failing information calls with text blocks
    EXPECT_EQ(all->Error(), 3);
    EXPECT_EQ(script->BlockCount, 2);
    script->Results[fakespi::kInfo][0] = 0;
    script->Results[fakespi::kPicture][0] = 5;
    Load(L"C:\\x\\a.jpg"); // a text block, and the blocks of a failing picture call
    EXPECT_EQ(all->Error(), 5);
    EXPECT_EQ(script->BlockCount, 3);
}

TEST_F(PictureComponentEdges, APixelBlockTooSmallIsNotRead) {
    InstallAll();
    script->ShortPixels = 1;
    Load(kGif);
    EXPECT_NE(all->Error(), 0);
    EXPECT_EQ(OnlyMessage(), L"その他のエラー [C:\\WALL\\A.GIF]");
    EXPECT_TRUE(all->Picture().Empty());
    Load(L"C:\\x\\a.jpg");
    EXPECT_NE(all->Error(), 0);
    EXPECT_TRUE(all->Picture().Empty());
}

TEST_F(PictureComponentEdges, JapanesePathIsHandedOverInTheAnsiCodePage) {
    Install(L"ifgif.spi");
    ScratchFolder folder(L"壁紙フォルダ");
    std::wstring path = folder / L"画像 一.gif";
    WriteBytes(path, {'G', 'I', 'F'});
    Load(path);
    EXPECT_EQ(all->Error(), 0);
    ASSERT_EQ(script->CallCount, 1);
    EXPECT_TRUE(CallAt(0).PathOpens) << CallAt(0).Path;
    if (GetACP() == 932) {
        EXPECT_EQ(Wide(CallAt(0).Path), path) << "a path the code page holds goes unchanged";
    }
    EXPECT_EQ(all->PictureName(), path);
}

TEST_F(PictureComponentEdges, PathOutsideTheCodePageGoesAsItsShortForm) {
    Install(L"ifgif.spi");
    ScratchFolder folder(L"한국어 폴더");
    std::wstring path = folder / L"그림.gif";
    WriteBytes(path, {'G', 'I', 'F'});
    Load(path);
    EXPECT_EQ(all->Error(), 0);
    ASSERT_EQ(script->CallCount, 1);
    EXPECT_TRUE(CallAt(0).PathOpens) << CallAt(0).Path;
    EXPECT_NE(Wide(CallAt(0).Path), path);
    EXPECT_EQ(all->PictureName(), path) << "the component keeps the real name";
}

TEST_F(PictureComponentEdges, PathLongerThan255BytesGoesAsItsShortForm) {
    Install(L"ifgif.spi");
    ScratchFolder folder(L"long");
    std::wstring sub = folder / std::wstring(120, L'e');
    CreateDirectoryW(sub.c_str(), nullptr);
    // 258 characters: too long for the plug-in, short enough for the file system.
    std::wstring path = sub + L"\\" + std::wstring(258 - sub.size() - 1 - 4, L'f') + L".gif";
    ASSERT_GT(path.size(), 255u);
    ASSERT_LT(path.size(), static_cast<size_t>(MAX_PATH));
    WriteBytes(path, {'G', 'I', 'F'});
    Load(path);
    EXPECT_EQ(all->Error(), 0);
    ASSERT_EQ(script->CallCount, 1);
    EXPECT_LE(std::strlen(CallAt(0).Path), 255u);
    EXPECT_TRUE(CallAt(0).PathOpens) << CallAt(0).Path;
}

TEST_F(PictureComponentEdges, PathThePluginCannotTakeIsRefusedWholeNotCut) {
    Install(L"ifgif.spi");
    Install(L"ifjpeg.spi");
    for (const std::wstring& path : {L"C:\\no such folder\\" + std::wstring(250, L'x') + L".gif",
                                     std::wstring(L"C:\\no such folder\\한국.jpg")}) {
        Load(path);
        EXPECT_EQ(script->CallCount, 0) << "no plug-in call with a wrong path";
        EXPECT_NE(all->Error(), 0);
        EXPECT_EQ(OnlyMessage(), L"プラグインに渡せないファイル名 [" + path + L"]");
        EXPECT_EQ(all->PictureName(), L"");
        EXPECT_TRUE(all->Picture().Empty());
    }
}

TEST_F(PictureComponentEdges, FrameworkFormatsLoadDirectly) {
    InstallAll();
    ScratchFolder folder(L"tall_bmp");
    std::wstring path = folder / L"small.BMP";
    BmpFile bmp = MakeBmp(5, 3, 24, {}, [](int x, int y) { return RGB(x * 40, y * 80, 9); });
    WriteBytes(path, bmp.Bytes());
    all->SetPreView(true);
    Load(L"C:\\x\\a.jpg");
    ASSERT_NE(all->OrgWidth(), 0);
    Load(path);
    EXPECT_EQ(script->Attached, 0);
    EXPECT_EQ(all->Error(), 0);
    EXPECT_EQ(all->PictureName(), path);
    ASSERT_EQ(all->Picture().Kind(), TPictureKind::Bitmap);
    EXPECT_EQ(PixelOf(all->Picture().Bitmap(), 4, 2), RGB(160, 160, 9));
    EXPECT_FALSE(all->PreView());
    EXPECT_EQ(all->OrgWidth(), 0);
    EXPECT_EQ(all->Width(), 5) << "AutoSize";
}

TEST_F(PictureComponentEdges, AnInvalidFrameworkPictureIsAnUnknownFormat) {
    ScratchFolder folder(L"tall_bad");
    std::wstring path = folder / L"bad.ico";
    WriteBytes(path, {'n', 'o', 'p', 'e'});
    Load(path);
    EXPECT_EQ(all->Error(), 2);
    EXPECT_EQ(OnlyMessage(), L"未知のフォーマット [" + path + L"]");
    EXPECT_EQ(all->PictureName(), L"");
    EXPECT_TRUE(all->Picture().Empty());
}

TEST_F(PictureComponentEdges, AFrameworkFileThatCannotBeOpenedGoesToTheCaller) {
    std::wstring path = L"C:\\no such folder\\gone.bmp";
    EXPECT_THROW(all->SetPictureName(path), Exception);
    EXPECT_EQ(all->PictureName(), path);
    EXPECT_EQ(all->Error(), 0);
    EXPECT_TRUE(modal->Messages.empty());
    EXPECT_TRUE(all->Picture().Empty());
}

TEST_F(PictureComponentEdges, WithoutAutoSizeTheControlKeepsItsSize) {
    Install(L"ifgif.spi");
    all->SetAutoSize(false);
    all->SetStretch(true);
    all->SetBounds(0, 0, 168, 106);
    script->Width = 640;
    script->Height = 400;
    Load(kGif);
    EXPECT_EQ(all->Width(), 168);
    EXPECT_EQ(all->Height(), 106);
    EXPECT_EQ(all->Picture().Width(), 640) << "the picture keeps its full size";
}

// Run by the 8-bit session (TAPESTRA_EXPECT_8BIT set); skipped elsewhere.
class EightBitDisplay : public TAllFixture {
  protected:
    void SetUp() override {
        if (ScreenBits() != 8) {
            if (std::getenv("TAPESTRA_EXPECT_8BIT")) FAIL() << "the display has " << ScreenBits() << " bits";
            GTEST_SKIP() << "needs an 8-bit display";
        }
        TAllFixture::SetUp();
    }
    std::vector<PALETTEENTRY> Entries() const {
        HPALETTE palette = all->Picture().Palette();
        if (!palette) return {};
        std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
        GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
        return entries;
    }
};

TEST_F(EightBitDisplay, FourBitPictureGetsSixteenEntries) {
    Install(L"ifgif.spi");
    script->BitCount = 4;
    script->ClrUsed = 0;
    Load(kGif);
    EXPECT_EQ(all->Error(), 0);
    std::vector<PALETTEENTRY> entries = Entries();
    ASSERT_EQ(entries.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        RGBQUAD q = fakespi::TableColor(i);
        EXPECT_EQ(entries[i].peRed, q.rgbRed) << i;
        EXPECT_EQ(entries[i].peGreen, q.rgbGreen) << i;
        EXPECT_EQ(entries[i].peBlue, q.rgbBlue) << i;
        EXPECT_EQ(entries[i].peFlags, 0) << i;
    }
    EXPECT_EQ(BitmapInfo(all->Picture().Bitmap()).bmBitsPixel, 8);
}

TEST_F(EightBitDisplay, PaletteSizeFollowsClrUsedAndTheDepth) {
    Install(L"ifgif.spi");
    struct Case {
        int bits, clrUsed;
        size_t entries;
    };
    for (const Case& c : {Case{8, 20, 20}, Case{8, 0, 256}, Case{1, 0, 2}, Case{24, 0, 0}}) {
        script->BitCount = c.bits;
        script->ClrUsed = c.clrUsed;
        Load(kGif);
        EXPECT_EQ(all->Error(), 0);
        EXPECT_EQ(Entries().size(), c.entries) << c.bits << " bits, biClrUsed " << c.clrUsed;
    }
}

TEST_F(EightBitDisplay, JpegGetsNoPalette) {
    Install(L"ifjpeg.spi");
    script->BitCount = 8;
    Load(L"C:\\x\\a.jpg");
    EXPECT_EQ(all->Error(), 0);
    EXPECT_EQ(all->Picture().Palette(), nullptr);
}

TEST_F(EightBitDisplay, CorrectedPicKeepsThePaletteAndSavesIt) {
    Install(L"ifpic.spi");
    script->BitCount = 4;
    script->Width = 20;
    script->Height = 10;
    script->XDensity = 1;
    script->YDensity = 2;
    Load(L"C:\\x\\a.pic");
    EXPECT_EQ(all->Error(), 0);
    EXPECT_EQ(BitmapSize().cx, 40);
    EXPECT_EQ(Entries().size(), 16u);
    ScratchFolder folder(L"tall_8bit");
    all->Picture().SaveToFile(folder / L"saved.bmp");
    BmpFile saved = ReadBmp(folder / L"saved.bmp");
    EXPECT_EQ(saved.Info.biBitCount, 8);
    EXPECT_EQ(saved.Info.biWidth, 40);
    // The file holds the bitmap as the picture has it. An 8-bit display
    // shows a colour through its system palette, so a pixel is not always
    // exactly its colour, but of the picture's colours its own is the nearest.
    auto nearest = [](COLORREF c) {
        int best = -1;
        long bestDistance = 0;
        for (int i = 0; i < 16; ++i) {
            RGBQUAD q = fakespi::TableColor(i);
            long r = GetRValue(c) - q.rgbRed, g = GetGValue(c) - q.rgbGreen, b = GetBValue(c) - q.rgbBlue;
            long distance = r * r + g * g + b * b;
            if (best < 0 || distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return best;
    };
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x) {
            COLORREF c = saved.Color(x, y);
            EXPECT_EQ(c, PixelOf(all->Picture().Bitmap(), x, y)) << x << "," << y;
            EXPECT_EQ(nearest(c), fakespi::PixelIndex(x / 2, y, 0, 16)) << x << "," << y;
        }
}
