// Items measured and drawn through the form's hook into a memory bitmap, in
// both styles: sizes, the check box, separator lines, the embossed disabled
// image, the tiled background and the bold default item.
#include "widgets/CoolMenuFixture.h"

#include <vector>

namespace {
COLORREF Sys(int index) {
    return GetSysColor(index);
}

// The black (or grey) pixels of a check-mark resource.
std::vector<POINT> CheckPixels(const wchar_t* name) {
    HBITMAP check = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    std::vector<POINT> marks;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, check);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (GetPixel(dc, x, y) != RGB(128, 0, 128)) marks.push_back({x, y});
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(check);
    return marks;
}

using CoolMenuDraw = CoolMenuFixture;

TEST_F(CoolMenuDraw, PopupItemsAreItemHeightHighSeparatorsTen) {
    plain->SetShortCutText(L"Ctrl+W");
    struct Case {
        int itemHeight;
        TMenuItem* item;
        UINT height;
    };
    const Case cases[] = {
        {20, add, 20}, {20, separator, 10}, {20, plain, 20}, {30, add, 30}, {30, separator, 10},
        {17, add, 30}, // below 18: ignored
    };
    for (const Case& c : cases) {
        cool->SetItemHeight(c.itemHeight);
        EXPECT_EQ(Measure(*c.item).itemHeight, c.height) << c.itemHeight;
    }
    cool->SetLargeImage(true);
    EXPECT_EQ(cool->ItemHeight(), 34);
    EXPECT_EQ(Measure(*add).itemHeight, 34u);
}

TEST_F(CoolMenuDraw, WidthIsSpaceCaptionShortcutPlusItemHeightPlusTwenty) {
    plain->SetShortCutText(L"Ctrl+W");
    HFONT font = CreateFontW(cool->ActiveFont.Height, 0, 0, 0, cool->ActiveFont.Bold ? FW_BOLD : FW_NORMAL,
                             cool->ActiveFont.Italic, 0, 0, DEFAULT_CHARSET, 0, 0, 0, DEFAULT_PITCH,
                             cool->ActiveFont.Name.c_str());
    HGDIOBJ oldFont = SelectObject(screen, font);
    auto width = [&](const wchar_t* text) {
        RECT r{};
        DrawTextW(screen, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        return static_cast<UINT>(r.right);
    };
    EXPECT_EQ(Measure(*plain).itemWidth, width(L" WWW(&W)Ctrl+W") + 20 + 20);
    EXPECT_EQ(Measure(*file).itemWidth, width(L"ﾌｧｲﾙ(&F)"));
    SelectObject(screen, oldFont);
    DeleteObject(font);
}

TEST_F(CoolMenuDraw, CheckMarkInSunkenPatternBoxOrAlone) {
    plain->SetChecked(true);
    const std::vector<POINT> marks = CheckPixels(L"CHECK");
    ASSERT_FALSE(marks.empty());
    for (TMenuStyle style : {TMenuStyle::msOffice, TMenuStyle::msWindows}) {
        SCOPED_TRACE(style == TMenuStyle::msOffice ? "office" : "windows");
        cool->MenuStyle = style;
        Clear(RGB(1, 2, 3));
        EXPECT_EQ(Draw(*plain, {0, 0, 200, 20}), 1);
        // The mark sits in the 16 x 16 square centred in the 20-pixel box.
        for (POINT p : marks)
            EXPECT_EQ(Pixel(2 + p.x, 2 + p.y), RGB(0, 0, 0));
        // Transparent around it: the box beneath shows through.
        const COLORREF beside = Pixel(3, 3);
        EXPECT_NE(beside, RGB(128, 0, 128));
        if (style == TMenuStyle::msOffice) {
            // The 8 x 8 pattern: white where row and column are both even or both odd.
            EXPECT_EQ(Pixel(4, 16), RGB(255, 255, 255));
            EXPECT_EQ(Pixel(5, 16), Sys(COLOR_BTNFACE));
            // Sunken: dark top-left edge, light bottom-right edge.
            EXPECT_NE(Pixel(0, 10), RGB(255, 255, 255));
            EXPECT_NE(Pixel(0, 10), Sys(COLOR_BTNFACE));
            EXPECT_EQ(Pixel(19, 10), Sys(COLOR_BTNHIGHLIGHT));
        } else {
            EXPECT_EQ(Pixel(0, 10), Sys(COLOR_MENU));
            EXPECT_EQ(Pixel(4, 16), Sys(COLOR_MENU));
        }
    }
    // Disabled: the grey mark.
    plain->SetEnabled(false);
    cool->MenuStyle = TMenuStyle::msOffice;
    Draw(*plain, {0, 0, 200, 20}, ODS_DISABLED | ODS_GRAYED);
    for (POINT p : CheckPixels(L"CHECKMONO"))
        EXPECT_EQ(Pixel(2 + p.x, 2 + p.y), RGB(128, 128, 128));
}

TEST_F(CoolMenuDraw, SeparatorIsAGreyAndAHighlightLine) {
    for (TMenuStyle style : {TMenuStyle::msOffice, TMenuStyle::msWindows}) {
        cool->MenuStyle = style;
        Clear(RGB(1, 2, 3));
        Draw(*separator, {0, 0, 200, 10});
        EXPECT_EQ(Count({1, 5, 199, 6}, Sys(COLOR_GRAYTEXT)), 198);
        EXPECT_EQ(Count({1, 6, 199, 7}, Sys(COLOR_BTNHIGHLIGHT)), 198);
        EXPECT_EQ(Pixel(0, 5), Sys(COLOR_MENU));
        EXPECT_EQ(Pixel(100, 2), Sys(COLOR_MENU));
    }
}

TEST_F(CoolMenuDraw, DisabledImageIsEmbossedInHighlightAndShadow) {
    add->SetEnabled(false);
    cool->InActiveColor = RGB(10, 20, 30);
    Draw(*add, {0, 0, 200, 20}, ODS_DISABLED | ODS_GRAYED);
    const RECT image{2, 2, 19, 19};
    const COLORREF shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT), menuColour = RGB(10, 20, 30);
    EXPECT_GT(Count(image, shadow), 10);
    int others = 0, lightBesideShadow = 0;
    for (int y = image.top; y < image.bottom; ++y)
        for (int x = image.left; x < image.right; ++x) {
            COLORREF c = Pixel(x, y);
            others += c != shadow && c != light && c != menuColour;
                        lightBesideShadow += c == light;
        }
    EXPECT_EQ(others, 0);
    EXPECT_GT(lightBesideShadow, 0);
    // The image's own green never shows.
    EXPECT_EQ(Count(image, RGB(0x20, 0xa0, 0x40)), 0);
    // The caption: grey text over its highlight copy.
    EXPECT_GT(Count({21, 0, 200, 20}, Sys(COLOR_GRAYTEXT)), 10);
}

TEST_F(CoolMenuDraw, SelectedItemWithImageKeepsItsBoxInOfficeStyle) {
    struct Case {
        TMenuStyle style;
        bool boxFilled;
    };
    for (Case c : {Case{TMenuStyle::msOffice, false}, Case{TMenuStyle::msWindows, true}}) {
        cool->MenuStyle = c.style;
        Clear(RGB(1, 2, 3));
        Draw(*add, {0, 0, 200, 20}, ODS_SELECTED);
        EXPECT_EQ(Pixel(190, 10), Sys(COLOR_HIGHLIGHT));
        EXPECT_EQ(Pixel(1, 10) == Sys(COLOR_HIGHLIGHT), c.boxFilled);
        if (!c.boxFilled) {
            // The raised frame round the untouched box.
            EXPECT_EQ(Pixel(1, 10), RGB(1, 2, 3));
            EXPECT_NE(Pixel(0, 10), RGB(1, 2, 3));
            EXPECT_NE(Pixel(19, 10), RGB(1, 2, 3));
        }
        // The image itself is drawn.
        EXPECT_GT(Count({2, 2, 18, 18}, RGB(0x20, 0xa0, 0x40)), 10);
    }
}

TEST_F(CoolMenuDraw, TiledBackgroundIsAlignedWithTheMenuWindow) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    DWORD* tile = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&tile), nullptr, 0);
    auto tileColour = [](int x, int y) { return RGB(x * 8, y * 8, 77); };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            COLORREF c = tileColour(x, y);
            tile[y * 32 + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    cool->SetInActiveBitmap(picture);
    DeleteObject(picture);
    for (TMenuStyle style : {TMenuStyle::msOffice, TMenuStyle::msWindows}) {
        cool->MenuStyle = style;
        Draw(*plain, {0, 20, 200, 40});
        Draw(*separator, {0, 40, 200, 50});
        for (POINT p : {POINT{150, 21}, POINT{199, 39}, POINT{33, 22}, POINT{64, 38}, POINT{100, 42}})
            EXPECT_EQ(Pixel(p.x, p.y), tileColour(p.x % 32, p.y % 32)) << p.x << "," << p.y;
    }
    // No picture: the plain colour again.
    cool->SetInActiveBitmap(nullptr);
    Draw(*plain, {0, 20, 200, 40});
    EXPECT_EQ(Pixel(150, 21), Sys(COLOR_MENU));
}

TEST_F(CoolMenuDraw, DefaultItemIsBold) {
    auto ink = [&] {
        Clear(RGB(1, 2, 3));
        Draw(*plain, {0, 0, 200, 20});
        return 21 * 20 + 179 * 20 - Count({0, 0, 200, 20}, Sys(COLOR_MENU));
    };
    const int normal = ink();
    plain->SetDefault(true);
    const int bold = ink();
    EXPECT_GT(normal, 10);
    EXPECT_GT(bold, normal + normal / 5);
}

TEST_F(CoolMenuDraw, DrawItemEventReplacesTheDrawingAndErrorsAreReported) {
    int calls = 0;
    cool->OnDrawItem = [&](TComponent&, TMenuItem& item, const RECT&, UINT) {
        ++calls;
        if (&item == exit) throw Exception(L"描画できません");
    };
    Clear(RGB(1, 2, 3));
    Draw(*add, {0, 0, 200, 20});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Pixel(190, 10), RGB(1, 2, 3));
    EXPECT_EQ(Draw(*exit, {0, 0, 200, 20}), 1);
    ASSERT_EQ(modal->Errors.size(), 1u);
    EXPECT_EQ(modal->Errors[0], L"描画できません");
}
} // namespace

namespace {
using CoolMenuImages = CoolMenuFixture;

TEST_F(CoolMenuImages, LargeImagesAreDrawnThirtyTwoSquareAndARemovedListDrawsNone) {
    const COLORREF green = RGB(0x20, 0xa0, 0x40);
    Draw(*add, {0, 0, 200, 20});
    const int small = Count({2, 2, 18, 18}, green);
    EXPECT_GT(small, 10);
    cool->SetLargeImage(true);
    Clear(RGB(1, 2, 3));
    Draw(*add, {0, 0, 200, 34});
    // The image square is centred in the 34-pixel box: from (1, 1) to (33, 33).
    EXPECT_GT(Count({1, 1, 33, 33}, green), 3 * small);
    EXPECT_EQ(Count({33, 0, 200, 34}, green), 0);
    form->Free(*images);
    Clear(RGB(1, 2, 3));
    Draw(*add, {0, 0, 200, 34});
    EXPECT_EQ(Count({0, 0, 200, 34}, green), 0);
}

TEST_F(CoolMenuImages, EveryImageOfTheStripIsDrawnWithoutAPinkFringe) {
    // Only exact magenta is transparent: an edge blended with it stays pink.
    ASSERT_EQ(images->Count(), 18);
    for (int i = 0; i < images->Count(); ++i)
        ImageList_Draw(images->Handle(), i, dc, i % 12 * 16, i / 12 * 16, ILD_NORMAL);
    int pink = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            COLORREF p = Pixel(x, y);
            pink += GetRValue(p) > GetGValue(p) + 48 && GetBValue(p) > GetGValue(p) + 48;
        }
    EXPECT_EQ(pink, 0);
}
} // namespace
