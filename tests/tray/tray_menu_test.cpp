// The tray icon's popup menus: which button opens which menu, AutoPopup, the
// window that owns the menu and gets its commands, and the foreground and
// WM_NULL steps around it. The menus really open; a timer inside the menu's
// own loop picks the first item or cancels.
#include "TrayTestSupport.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "tray/TTrayIcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace traytest;

namespace {

HWND OpenMenuWindow() {
    return FindWindowW(L"#32768", nullptr);
}

void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND menu = OpenMenuWindow();
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

void CALLBACK CancelMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// A popup menu with one item that counts its clicks; it records the window
// in the foreground when it opens and then answers through the timer.
struct CountingMenu {
    CountingMenu(TComponent& owner, TIMERPROC answer) : menu(owner.Own<TPopupMenu>()) {
        menu.Add(L"項目(&A)", [this] { ++itemClicks; });
        menu.OnPopup = [this, answer] {
            ++popups;
            foreground = GetForegroundWindow();
            SetTimer(nullptr, 0, 150, answer);
        };
    }
    TPopupMenu& menu;
    int popups = 0;
    int itemClicks = 0;
    HWND foreground = nullptr;
};

// Takes the window's queued messages, dispatching each; returns their numbers.
std::vector<UINT> DrainQueue(HWND window) {
    std::vector<UINT> seen;
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
        seen.push_back(msg.message);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return seen;
}

bool Contains(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

using TrayMenus = TrayClickFixture;

TEST_F(TrayMenus, LeftButtonOpensTheLeftMenuOfAFormAndItsCommandReachesTheForm) {
    TForm& form = owner->Own<TForm>();
    TTrayIcon& icon = ShownIcon(L"tip", &form);
    CountingMenu left(form, ChooseFirstItem);
    int downs = 0;
    icon.OnMouseDown = [&](TMouseButton, TShiftState, int, int) { ++downs; };
    icon.SetLBPopupMenu(&left.menu);
    Notify(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(left.popups, 1);
    EXPECT_EQ(downs, 0) << "the menu takes the place of OnMouseDown";
    EXPECT_EQ(left.foreground, form.Handle()) << "the form comes to the foreground first";
    std::vector<UINT> queued = DrainQueue(form.Handle());
    EXPECT_TRUE(Contains(queued, WM_COMMAND));
    EXPECT_TRUE(Contains(queued, WM_NULL)) << "WM_NULL follows the menu";
    EXPECT_EQ(left.itemClicks, 1);
}

TEST_F(TrayMenus, WithoutAFormTheCallbackWindowOwnsTheMenu) {
    TTrayIcon& icon = ShownIcon();
    CountingMenu right(*owner, ChooseFirstItem);
    icon.SetRBPopupMenu(&right.menu);
    Notify(icon, WM_RBUTTONDOWN);
    EXPECT_EQ(right.popups, 1);
    std::vector<UINT> queued = DrainQueue(TTrayIcon::CallbackWindowHandle());
    EXPECT_TRUE(Contains(queued, WM_COMMAND));
    EXPECT_TRUE(Contains(queued, WM_NULL));
    EXPECT_EQ(right.itemClicks, 1);
}

TEST_F(TrayMenus, WithoutAutoPopupTheButtonGoesToOnMouseDown) {
    TForm& form = owner->Own<TForm>();
    TTrayIcon& icon = ShownIcon(L"tip", &form);
    CountingMenu left(form, CancelMenu), right(form, CancelMenu);
    std::vector<TMouseButton> downs;
    icon.OnMouseDown = [&](TMouseButton b, TShiftState, int, int) { downs.push_back(b); };
    icon.SetLBPopupMenu(&left.menu);
    icon.SetRBPopupMenu(&right.menu);
    icon.AutoPopup = false;
    Notify(icon, WM_LBUTTONDOWN);
    Notify(icon, WM_RBUTTONDOWN);
    EXPECT_EQ(left.popups + right.popups, 0);
    EXPECT_EQ(downs, (std::vector<TMouseButton>{TMouseButton::Left, TMouseButton::Right}));
    icon.AutoPopup = true;
    Notify(icon, WM_RBUTTONDOWN);
    EXPECT_EQ(right.popups, 1);
    EXPECT_EQ(left.popups, 0);
    EXPECT_EQ(right.itemClicks, 0) << "a cancelled menu runs nothing";
    EXPECT_EQ(downs.size(), 2u);
}

TEST_F(TrayMenus, EachButtonHasItsOwnMenuAndTheMiddleNone) {
    TTrayIcon& icon = ShownIcon();
    CountingMenu right(*owner, CancelMenu);
    std::vector<TMouseButton> downs;
    icon.OnMouseDown = [&](TMouseButton b, TShiftState, int, int) { downs.push_back(b); };
    icon.SetRBPopupMenu(&right.menu);
    Notify(icon, WM_LBUTTONDOWN);
    Notify(icon, WM_MBUTTONDOWN);
    EXPECT_EQ(right.popups, 0);
    EXPECT_EQ(downs, (std::vector<TMouseButton>{TMouseButton::Left, TMouseButton::Middle}));
}

TEST_F(TrayMenus, AFreedMenuIsForgotten) {
    TTrayIcon& icon = ShownIcon();
    TPopupMenu& left = owner->Own<TPopupMenu>();
    TPopupMenu& right = owner->Own<TPopupMenu>();
    icon.SetLBPopupMenu(&left);
    icon.SetRBPopupMenu(&right);
    owner->Free(left);
    EXPECT_EQ(icon.LBPopupMenu(), nullptr);
    EXPECT_EQ(icon.RBPopupMenu(), &right);
    int downs = 0;
    icon.OnMouseDown = [&](TMouseButton, TShiftState, int, int) { ++downs; };
    Notify(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(downs, 1);
    owner->Free(right);
    EXPECT_EQ(icon.RBPopupMenu(), nullptr);
}

} // namespace
