// The tray icon's mouse notifications: single and double clicks told apart
// through the double-click time, the other buttons, the popup menus and the
// routing of notifications to the right icon. The notifications are sent to
// the callback window the way the shell sends them.
#include "TrayTestSupport.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "tray/TTrayIcon.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace traytest;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

struct MouseEvent {
    std::wstring kind;
    TMouseButton button;
    TShiftState shift;
    int x, y;
};

// Counts every event of an icon.
struct Recorder {
    explicit Recorder(TTrayIcon& icon) {
        icon.OnClick = [this] {
            ++clicks;
            clickedAt = Clock::now();
        };
        icon.OnDblClick = [this] { ++doubleClicks; };
        icon.OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) {
            events.push_back({L"down", b, s, x, y});
        };
        icon.OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y) {
            events.push_back({L"up", b, s, x, y});
        };
        icon.OnMouseMove = [this](TShiftState s, int x, int y) {
            events.push_back({L"move", TMouseButton::Left, s, x, y});
        };
    }
    int clicks = 0;
    int doubleClicks = 0;
    Clock::time_point clickedAt;
    std::vector<MouseEvent> events;
};

POINT CursorAt(int x, int y) {
    SetCursorPos(x, y);
    POINT p{};
    GetCursorPos(&p);
    return p;
}

using TrayClicks = TrayClickFixture;

TEST_F(TrayClicks, ASingleClickRaisesOneOnClickAfterTheDoubleClickTime) {
    TTrayIcon& icon = ShownIcon();
    Recorder r(icon);
    icon.OnMouseUp = nullptr;
    icon.OnMouseDown = nullptr;
    Notify(icon, WM_LBUTTONDOWN);
    auto released = Clock::now();
    Notify(icon, WM_LBUTTONUP);
    PumpFor(400);
    EXPECT_EQ(r.clicks, 0) << "the click waits for a possible second one";
    ASSERT_TRUE(PumpUntil([&] { return r.clicks > 0; }, 3000));
    EXPECT_GE(r.clickedAt - released, milliseconds(550));
    PumpFor(700);
    EXPECT_EQ(r.clicks, 1);
    EXPECT_EQ(r.doubleClicks, 0);
}

TEST_F(TrayClicks, TheWaitFollowsTheSystemsDoubleClickTime) {
    SetDoubleClickTime(900);
    TTrayIcon& icon = ShownIcon();
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    auto released = Clock::now();
    Notify(icon, WM_LBUTTONUP);
    PumpFor(700);
    EXPECT_EQ(clicks, 0);
    ASSERT_TRUE(PumpUntil([&] { return clicks > 0; }, 3000));
    EXPECT_GE(Clock::now() - released, milliseconds(950));
}

TEST_F(TrayClicks, TwoClicksApartAreTwoClicks) {
    TTrayIcon& icon = ShownIcon();
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    for (int i = 1; i <= 2; ++i) {
        Notify(icon, WM_LBUTTONDOWN);
        Notify(icon, WM_LBUTTONUP);
        ASSERT_TRUE(PumpUntil([&] { return clicks == i; }, 3000));
    }
    PumpFor(700);
    EXPECT_EQ(clicks, 2);
}

TEST_F(TrayClicks, ADoubleClickRaisesOnDblClickAndNoClick) {
    TTrayIcon& icon = ShownIcon();
    int clicks = 0, doubleClicks = 0;
    icon.OnClick = [&] { ++clicks; };
    icon.OnDblClick = [&] { ++doubleClicks; };
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        Notify(icon, message);
    EXPECT_EQ(doubleClicks, 1);
    PumpFor(1200);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 0);
    // The next single click is a click again.
    Notify(icon, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }, 3000));
}

TEST_F(TrayClicks, WithOnMouseUpAssignedLeftClicksNeverClick) {
    TTrayIcon& icon = ShownIcon();
    Recorder r(icon);
    POINT at = CursorAt(321, 123);
    Notify(icon, WM_LBUTTONDOWN);
    Notify(icon, WM_LBUTTONUP);
    PumpFor(1000);
    EXPECT_EQ(r.clicks, 0);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[1].kind, L"up");
    EXPECT_EQ(r.events[1].button, TMouseButton::Left);
    EXPECT_EQ(r.events[1].shift, TShiftState{TShift::Left});
    EXPECT_EQ(r.events[1].x, at.x);
    EXPECT_EQ(r.events[1].y, at.y);
}

TEST_F(TrayClicks, EachButtonReportsItselfAtTheCursor) {
    TTrayIcon& icon = ShownIcon();
    Recorder r(icon);
    POINT at = CursorAt(200, 300);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
                         WM_MBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_USER + 5})
        Notify(icon, message);
    struct Expected {
        const wchar_t* kind;
        TMouseButton button;
        TShiftState shift;
    } expected[] = {{L"move", TMouseButton::Left, {}},
                    {L"down", TMouseButton::Left, {TShift::Left}},
                    {L"down", TMouseButton::Right, {TShift::Right}},
                    {L"up", TMouseButton::Right, {TShift::Right}},
                    {L"down", TMouseButton::Middle, {TShift::Middle}},
                    {L"up", TMouseButton::Middle, {TShift::Middle}}};
    ASSERT_EQ(r.events.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(r.events[i].kind, expected[i].kind) << i;
        if (r.events[i].kind != L"move") {
            EXPECT_EQ(r.events[i].button, expected[i].button) << i;
        }
        EXPECT_EQ(r.events[i].shift, expected[i].shift) << i;
        EXPECT_EQ(r.events[i].x, at.x) << i;
        EXPECT_EQ(r.events[i].y, at.y) << i;
    }
    EXPECT_EQ(r.clicks + r.doubleClicks, 0);
}

TEST_F(TrayClicks, ADisabledIconIgnoresEverything) {
    TTrayIcon& icon = ShownIcon();
    Recorder r(icon);
    icon.OnMouseUp = nullptr;
    TPopupMenu& menu = owner->Own<TPopupMenu>();
    int popups = 0;
    menu.OnPopup = [&] { ++popups; };
    icon.SetLBPopupMenu(&menu);
    icon.SetRBPopupMenu(&menu);
    icon.SetEnabled(false);
    for (UINT message :
         {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONDOWN,
          WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP})
        Notify(icon, message);
    PumpFor(1000);
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(r.clicks, 0);
    EXPECT_EQ(r.doubleClicks, 0);
    EXPECT_EQ(popups, 0);
}

TEST_F(TrayClicks, DisablingCancelsAPendingClick) {
    TTrayIcon& icon = ShownIcon();
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    Notify(icon, WM_LBUTTONUP);
    PumpFor(100);
    icon.SetEnabled(false);
    icon.SetEnabled(true);
    PumpFor(1000);
    EXPECT_EQ(clicks, 0);
    Notify(icon, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }, 3000));
}

TEST_F(TrayClicks, WithoutOnClickAReleaseLeavesNothingPending) {
    TTrayIcon& icon = ShownIcon();
    int clicks = 0;
    Notify(icon, WM_LBUTTONDBLCLK);
    Notify(icon, WM_LBUTTONUP);
    icon.OnClick = [&] { ++clicks; };
    // Had the double click left its mark, this release would end it.
    Notify(icon, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }, 3000));
}

TEST_F(TrayClicks, NotificationsReachTheIconTheyNameOnly) {
    TTrayIcon& first = ShownIcon(L"first");
    TTrayIcon& second = ShownIcon(L"second");
    Recorder r1(first), r2(second);
    Notify(second, WM_RBUTTONDOWN);
    EXPECT_TRUE(r1.events.empty());
    ASSERT_EQ(r2.events.size(), 1u);
    Notify(first, WM_MBUTTONDOWN);
    ASSERT_EQ(r1.events.size(), 1u);
    EXPECT_EQ(r1.events[0].button, TMouseButton::Middle);
    EXPECT_EQ(r2.events.size(), 1u);
    Notify(77, WM_RBUTTONDOWN);
    EXPECT_EQ(r1.events.size() + r2.events.size(), 2u) << "an unknown identifier reaches nobody";
    first.SetEnabled(false);
    Notify(second, WM_LBUTTONDBLCLK);
    EXPECT_EQ(r2.doubleClicks, 1) << "one disabled icon does not silence the other";
}

TEST_F(TrayClicks, DestroyingAnIconWithAPendingClickRaisesNothing) {
    TTrayIcon& icon = ShownIcon();
    int clicks = 0;
    icon.OnClick = [&] { ++clicks; };
    Notify(icon, WM_LBUTTONUP);
    owner->Free(icon);
    PumpFor(1000);
    EXPECT_EQ(clicks, 0);
}

TEST_F(TrayClicks, AGoneIconsWaitIsNotTakenForANewIconsClick) {
    ShownIcon(L"first");
    TTrayIcon& old = ShownIcon(L"old");
    ASSERT_EQ(old.Identifier(), 2u);
    int oldClicks = 0;
    old.OnClick = [&] { ++oldClicks; };
    Notify(old, WM_LBUTTONUP);
    // The worker posts its message while nobody pumps; then the icon goes
    // and its identifier is given to a new icon that has a click pending.
    Sleep(800);
    owner->Free(old);
    TTrayIcon& reused = ShownIcon(L"new");
    ASSERT_EQ(reused.Identifier(), 2u);
    int clicks = 0;
    reused.OnClick = [&] { ++clicks; };
    Notify(reused, WM_LBUTTONUP);
    PumpFor(300);
    EXPECT_EQ(clicks, 0) << "the new click was raised by the old wait";
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }, 3000));
    EXPECT_EQ(oldClicks, 0);
}

} // namespace
