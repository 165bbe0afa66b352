// The hint window of TCoolHint on a real tool tip: its rectangle and shape for
// the rounded and the balloon types, the owner-draw events, switching Active
// off and on, and the single-instance rule.
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "support/FormFixture.h"
#include "support/ScriptedModalUI.h"
#include "widgets/TCoolHint.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

namespace {
class CoolHintTest : public FormFixture {
  protected:
    void SetUp() override {
        MakeForm();
        form->SetBounds(100, 100, 300, 200);
        form->Show();
    }
    void TearDown() override {
        DestroyTip();
        owner.reset();
    }

    // A tool tip with one tracking tool, as the controls make them.
    void MakeTip() {
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                              0, 0, 0, form->Handle(), nullptr, nullptr, nullptr);
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        info.hwnd = form->Handle();
        info.uId = 1;
        info.lpszText = const_cast<wchar_t*>(L"壁紙を並べて表示します。");
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    void DestroyTip() {
        if (tip) DestroyWindow(tip);
        tip = nullptr;
    }
    // Shows the tip at (200, 300) and returns its window rectangle.
    RECT Show() {
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = form->Handle();
        info.uId = 1;
        SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
        SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(200, 300));
        SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
        RECT r{};
        GetWindowRect(tip, &r);
        return r;
    }
    // Whether a window-relative point lies in the tip's shape (no shape: everywhere).
    bool InShape(int x, int y) {
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        bool inside = GetWindowRgn(tip, rgn) == ERROR ? true : PtInRegion(rgn, x, y) != 0;
        DeleteObject(rgn);
        return inside;
    }

    HWND tip = nullptr;
};

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

TEST_F(CoolHintTest, RoundedAndBalloonHintsTakeTheirRectangleAndShape) {
    MakeTip();
    const RECT standard = Show();
    ASSERT_GT(Width(standard), 20);
    ASSERT_GT(Height(standard), 8);
    EXPECT_TRUE(InShape(0, 0));

    TCoolHint& hint = owner->Own<TCoolHint>();
    hint.HintType = THintType::htRoundRect;
    const RECT round = Show();
    EXPECT_EQ(Width(round), Width(standard) + 4);
    EXPECT_EQ(Height(round), Height(standard) + 2);
    EXPECT_EQ(round.left, standard.left - 2);
    EXPECT_FALSE(InShape(0, 0));
    EXPECT_TRUE(InShape(Width(round) / 2, Height(round) / 2));
    EXPECT_TRUE(InShape(4, Height(round) / 2));

    hint.HintType = THintType::htBalloon;
    const RECT balloon = Show();
    EXPECT_EQ(Width(balloon), Width(standard) + Width(standard) / 2);
    EXPECT_EQ(Height(balloon), 2 * Height(standard));
    EXPECT_EQ(balloon.left, standard.left - Width(standard) / 2);
    // The tail points up at a third of the width; the upper corners are outside.
    const int w = Width(balloon), h = Height(balloon);
    EXPECT_TRUE(InShape(w / 3 + 1, 2));
    EXPECT_FALSE(InShape(w / 2 + 3, 2));
    EXPECT_FALSE(InShape(1, 1));
    EXPECT_TRUE(InShape(w / 2, (3 * h) / 4));
}

TEST_F(CoolHintTest, NewToolTipsGetTheHelperAndActiveFalseBringsBackTheStandardHint) {
    TCoolHint& hint = owner->Own<TCoolHint>();
    hint.HintType = THintType::htRoundRect;
    MakeTip(); // made after the component: hooked as it is created
    const RECT round = Show();
    EXPECT_FALSE(InShape(0, 0));
    hint.SetActive(false);
    const RECT standard = Show();
    EXPECT_EQ(Width(round), Width(standard) + 4);
    EXPECT_TRUE(InShape(0, 0));
    hint.SetActive(true);
    EXPECT_EQ(Width(Show()), Width(round));
}

TEST_F(CoolHintTest, OwnerDrawTypesAskTheOwner) {
    TCoolHint& hint = owner->Own<TCoolHint>();
    std::wstring asked;
    hint.OnActivate = [&](RECT& r, const std::wstring& text) {
        asked = text;
        r.right = r.left + 123;
    };
    int paints = 0;
    hint.OnPaint = [&](HWND wnd, HDC) { paints += wnd == tip; };
    for (THintType type : {THintType::htOwnerDraw, THintType::htOwnerDrawTransparent}) {
        hint.HintType = type;
        MakeTip();
        EXPECT_EQ(Width(Show()), 123);
        EXPECT_EQ(asked, L"壁紙を並べて表示します。");
        UpdateWindow(tip);
        DestroyTip();
    }
    EXPECT_EQ(paints, 2);
}

TEST_F(CoolHintTest, OnlyOneMayExist) {
    TCoolHint& first = owner->Own<TCoolHint>();
    EXPECT_EQ(TCoolHint::Current(), &first);
    try {
        owner->Own<TCoolHint>();
        FAIL() << "a second one was made";
    } catch (const EHintWindowError& e) {
        EXPECT_EQ(e.Message, L"Only single component allowed");
    }
    EXPECT_EQ(TCoolHint::Current(), &first);
    owner->Free(first);
    EXPECT_EQ(TCoolHint::Current(), nullptr);
    // The refused one left no trace: a new one may be made again.
    EXPECT_NO_THROW(owner->Own<TCoolHint>());
}
} // namespace
