// The tray icon against the real shell of the Wine desktop: add, modify and
// delete succeed, and a task bar that forgot the icon gets it back.
#include "TrayTestSupport.h"
#include "framework/TApplication.h"
#include "support/ScriptedModalUI.h"
#include "tray/TTrayIcon.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace traytest;

namespace {

// Asks the shell whether it knows the icon: a modify that changes nothing
// succeeds only for an icon in the tray.
bool InTray(UINT identifier) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof(probe);
    probe.hWnd = TTrayIcon::CallbackWindowHandle();
    probe.uID = identifier;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// What the shell does to its icons when Explorer restarts.
void ForgetInShell(UINT identifier) {
    NOTIFYICONDATAW probe{};
    probe.cbSize = sizeof(probe);
    probe.hWnd = TTrayIcon::CallbackWindowHandle();
    probe.uID = identifier;
    Shell_NotifyIconW(NIM_DELETE, &probe);
}

class TrayShell : public ::testing::Test {
  protected:
    void SetUp() override {
        modal = InstallScriptedModalUI(app);
        owner = std::make_unique<TComponent>(nullptr);
    }
    void TearDown() override { owner.reset(); }

    TTrayIcon& NewIcon(const std::wstring& tip) {
        TTrayIcon& icon = owner->Own<TTrayIcon>();
        icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
        icon.SetTipHelp(tip);
        return icon;
    }

    TApplication app;
    ScriptedModalUI* modal = nullptr;
    std::unique_ptr<TComponent> owner;
};

TEST_F(TrayShell, AddModifyAndDeleteSucceed) {
    TTrayIcon& icon = NewIcon(L"Vintrel For Win95");
    ASSERT_FALSE(InTray(icon.Identifier()));
    ASSERT_NO_THROW(icon.SetVisible(true));
    EXPECT_TRUE(InTray(icon.Identifier()));
    EXPECT_NO_THROW(icon.SetTipHelp(L"壁紙の消去"));
    EXPECT_NO_THROW(icon.SetIcon(LoadIconW(nullptr, IDI_WARNING)));
    EXPECT_NO_THROW(icon.SetTipHelp(L""));
    icon.SetVisible(false);
    EXPECT_FALSE(InTray(icon.Identifier()));
    EXPECT_TRUE(modal->Errors.empty());
}

TEST_F(TrayShell, DestroyingTheIconTakesItOutOfTheTray) {
    TTrayIcon& keep = NewIcon(L"keep");
    keep.SetVisible(true);
    TTrayIcon& icon = NewIcon(L"gone");
    icon.SetVisible(true);
    UINT id = icon.Identifier();
    ASSERT_TRUE(InTray(id));
    owner->Free(icon);
    EXPECT_FALSE(InTray(id));
    EXPECT_TRUE(InTray(keep.Identifier()));
}

TEST_F(TrayShell, ARestartedTaskBarGetsTheVisibleIconsBack) {
    TTrayIcon& shown = NewIcon(L"shown");
    shown.SetVisible(true);
    TTrayIcon& hidden = NewIcon(L"hidden");
    hidden.SetVisible(true);
    hidden.SetVisible(false);
    ForgetInShell(shown.Identifier());
    ASSERT_FALSE(InTray(shown.Identifier()));
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return InTray(shown.Identifier()); }, 3000));
    EXPECT_FALSE(InTray(hidden.Identifier()));
    EXPECT_TRUE(modal->Errors.empty());
    // Back in the tray, it still leaves it normally.
    shown.SetVisible(false);
    EXPECT_FALSE(InTray(shown.Identifier()));
}

// Where the shell draws an icon that is alone in the tray: Wine draws the
// icons of its task bar from the right end, 16 pixels each, the first one
// about 3 pixels in.
POINT LoneIconCentre() {
    RECT bar{};
    GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &bar);
    return POINT{bar.right - 11, (bar.top + bar.bottom) / 2};
}

void SendMouse(DWORD flags, POINT at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    SendInput(1, &input, sizeof(input));
}

void ClickAt(POINT at, DWORD down, DWORD up) {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at);
    SendMouse(down);
    SendMouse(up);
}

// The tray window of another process gets the real mouse input and sends the
// real notifications to the callback window.
TEST_F(TrayShell, RealClicksOnTheIconBecomeItsEvents) {
    UINT savedTime = GetDoubleClickTime();
    SetDoubleClickTime(500);
    TTrayIcon& icon = NewIcon(L"click me");
    icon.SetVisible(true);
    int clicks = 0, doubleClicks = 0;
    std::vector<TMouseButton> downs;
    POINT downAt{};
    icon.OnClick = [&] { ++clicks; };
    icon.OnDblClick = [&] { ++doubleClicks; };
    icon.OnMouseDown = [&](TMouseButton button, TShiftState, int x, int y) {
        downs.push_back(button);
        downAt = {x, y};
    };
    POINT at = LoneIconCentre();
    ClickAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 3000)) << "a single click";
    EXPECT_EQ(downs, std::vector<TMouseButton>{TMouseButton::Left});
    EXPECT_EQ(downAt.x, at.x);
    EXPECT_EQ(downAt.y, at.y);

    ClickAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    PumpFor(100);
    ClickAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return doubleClicks == 1; }, 3000)) << "a double click";
    PumpFor(1200);
    EXPECT_EQ(clicks, 1) << "the double click also raised a click";
    EXPECT_EQ(doubleClicks, 1);

    ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(PumpUntil([&] { return downs.size() == 3; }, 3000));
    // The second press of a double click comes as the double click itself.
    EXPECT_EQ(downs,
              (std::vector<TMouseButton>{TMouseButton::Left, TMouseButton::Left, TMouseButton::Right}));
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, POINT{at.x - 300, at.y - 300});
    SetDoubleClickTime(savedTime);
}

} // namespace
