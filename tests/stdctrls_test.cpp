// The framework's labels and push buttons on a real form: a label's colour,
// alignment and size, the picture button as one of the push buttons, and the
// keys a hotkey field takes.
#include "framework/Handle.h"
#include "framework/ModalUI.h"
#include "framework/StdCtrls.h"
#include "framework/TApplication.h"
#include "framework/TBitBtn.h"
#include "framework/TForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
class StdCtrls : public ::testing::Test {
  protected:
    TApplication application;
    TForm form{nullptr};
};

TEST_F(StdCtrls, LabelAnswersItsParentsColourRequest) {
    TLabel& label = form.Own<TLabel>(form, L"text", 4, 4);
    label.SetColor(RGB(0, 0, 255));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    SetTextColor(dc, RGB(1, 2, 3));
    LRESULT brush = SendMessageW(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label.Handle()));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    DeleteDC(dc);
}

TEST_F(StdCtrls, LabelAlignmentIsTheStaticsStyle) {
    struct Case {
        TAlignment alignment;
        LONG style;
    };
    TLabel& label = form.Own<TLabel>(form, L"text", 4, 4);
    for (Case c : std::vector<Case>{{TAlignment::Center, SS_CENTER},
                                    {TAlignment::RightJustify, SS_RIGHT},
                                    {TAlignment::LeftJustify, SS_LEFT}}) {
        label.SetAlignment(c.alignment);
        EXPECT_EQ(GetWindowLongW(label.Handle(), GWL_STYLE) & SS_TYPEMASK, c.style);
        EXPECT_EQ(label.Alignment(), c.alignment);
    }
}

TEST_F(StdCtrls, LabelFitsItsTextUnlessGivenAFixedSize) {
    TLabel& label = form.Own<TLabel>(form, L"ab", 4, 4);
    int shortWidth = label.Width();
    label.SetCaption(L"a much longer text");
    EXPECT_GT(label.Width(), shortWidth);
    label.SetFont(L"ＭＳ Ｐ明朝", -30);
    EXPECT_GE(label.Height(), 30) << "a larger font makes it taller";

    label.SetAutoSize(false);
    label.SetBounds(4, 4, 50, 17);
    label.SetCaption(L"");
    label.SetFont(L"ＭＳ Ｐ明朝", -12);
    EXPECT_EQ(label.Width(), 50);
    EXPECT_EQ(label.Height(), 17);
}

TEST_F(StdCtrls, PictureButtonIsAPushButton) {
    TBitBtn& button = form.Own<TBitBtn>(form, L"確認", 10, 10, 97, 41);
    button.ModalResult = mrOk;
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.SetDefault(true);
    EXPECT_TRUE(button.Default());
    EXPECT_EQ(GetDlgCtrlID(button.Handle()), IDOK) << "the button Enter presses";
    EXPECT_EQ(GetWindowLongW(button.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << "still draws itself";
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.ModalResult(), mrOk);
    button.SetDefault(false);
    EXPECT_FALSE(button.Default());
    EXPECT_EQ(GetWindowLongW(button.Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(StdCtrls, AButtonsGlyphIsTransparentInEveryState) {
    TButton& button = form.Own<TButton>(form, L"設定する", 10, 10, 110, 33);
    button.SetGlyph(TButtonGlyph::Ok);
    BUTTON_IMAGELIST glyphs{};
    ASSERT_TRUE(SendMessageW(button.Handle(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&glyphs)));
    WindowDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
    SelectGuard select(dc.get(), bitmap.get());
    const COLORREF face = RGB(1, 2, 3);
    UniqueBrush brush(CreateSolidBrush(face));
    // Normal, hot, pressed, disabled, default (the 設定する of a dialog), stylus hot.
    ASSERT_EQ(ImageList_GetImageCount(glyphs.himl), 6);
    for (int state = 0; state < 6; ++state) {
        RECT all{0, 0, 16, 16};
        FillRect(dc.get(), &all, brush.get());
        ImageList_Draw(glyphs.himl, state, dc.get(), 0, 0, ILD_NORMAL);
        EXPECT_EQ(GetPixel(dc.get(), 0, 0), face) << "state " << state + 1;
        EXPECT_NE(GetPixel(dc.get(), 6, 12), face) << "state " << state + 1 << " shows its tick";
    }
}
TEST_F(StdCtrls, AHotkeyFieldTakesAKeyWithoutCtrlOrAltWithBothAndBackspaceEmptiesIt) {
    THotKey& field = form.Own<THotKey>(form, 4, 4, 150);
    EXPECT_EQ(field.HotKey(), 0) << "none at first";
    constexpr BYTE kCtrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;
    struct Case {
        std::vector<WORD> keys;
        WORD taken;
    } cases[] = {
        {{'N'}, MAKEWORD('N', kCtrlAlt)},
        {{VK_SHIFT, VK_F5}, MAKEWORD(VK_F5, kCtrlAlt)},
        {{VK_CONTROL, 'N'}, MAKEWORD('N', HOTKEYF_CONTROL)},
        {{VK_MENU, 'X'}, MAKEWORD('X', HOTKEYF_ALT)},
        {{VK_CONTROL, VK_SHIFT, VK_F5}, MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_SHIFT)},
        {{VK_BACK}, 0},
        {{VK_DELETE}, 0},
        {{VK_CONTROL}, 0},
    };
    for (const Case& c : cases) {
        field.SetHotKey(MAKEWORD('Q', kCtrlAlt));
        // Down in order, up in reverse; with Alt down the keys are system keys.
        const bool alt = std::find(c.keys.begin(), c.keys.end(), VK_MENU) != c.keys.end();
        for (WORD key : c.keys)
            SendMessageW(field.Handle(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
        for (auto key = c.keys.rbegin(); key != c.keys.rend(); ++key)
            SendMessageW(field.Handle(), alt ? WM_SYSKEYUP : WM_KEYUP, *key, 0xC0000000);
        EXPECT_EQ(field.HotKey(), c.taken) << c.keys.size() << " keys ending in " << c.keys.back();
    }
}
} // namespace
