// The built program in the tray: its icons, the close box, the tray
// double-click, the tray menu, and the icons coming back when the task bar
// is made anew.
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/TrayCallback.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <filesystem>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";

// A modify that changes nothing succeeds only while the icon is in the tray.
bool IconInTray(HWND callback, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = callback;
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

class ProgramTray : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        dir = testfiles::FreshFolder(L"tapestra tray");
        first = testfiles::WriteBitmap(dir + L"\\a.bmp", 30, 20, RGB(1, 2, 3), RGB(1, 2, 3));
        second = testfiles::WriteBitmap(dir + L"\\b.bmp", 31, 21, RGB(3, 2, 1), RGB(3, 2, 1));
        testreg::SeedGroups({L"g"});
        testreg::SeedFiles(L"g", {first, second});
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"モード", L"1");
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }
    std::optional<std::wstring> Setting(const std::wstring& name) {
        return testreg::GetString(HKEY_CURRENT_USER, kSettings, name);
    }
    std::wstring dir, first, second;
};

TEST_F(ProgramTray, TheProgramLivesInTheTray) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND callback = CallbackWindow(program.ProcessId());
    ASSERT_NE(callback, nullptr);
    EXPECT_TRUE(IconInTray(callback, 1)) << "TrayIcon1";
    EXPECT_TRUE(IconInTray(callback, 2)) << "TrayIcon2 while 一発消去 is 1 (its default)";

    // The close box hides the window; the program stays.
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    EXPECT_TRUE(program.Running());

    // A double-click on the icon, as the shell reports it: the next file (モード 1).
    PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONDOWN);
    PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONUP);
    PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return Setting(L"files") == first; }));
    PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return Setting(L"files") == second; }));
    // The second icon's double-click clears.
    PostMessageW(callback, kTrayMessage, 2, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return Setting(L"files") == L"(なし)"; }));

    // The task bar made anew (Explorer restarted): the icons come back.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = callback;
    data.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &data);
    ASSERT_FALSE(IconInTray(callback, 1));
    SendMessageW(callback, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconInTray(callback, 1));

    // The tray menu: 起動(&S) brings the window back.
    EXPECT_TRUE(ProgramDriver::ChooseTrayMenu(callback, L'S', [&] { return IsWindowVisible(main) != FALSE; }));
    // The tray menu's 終了(&X) ends the program and saves.
    EXPECT_TRUE(ProgramDriver::ChooseTrayMenu(callback, L'X', [&] { return !program.Running(); }));
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(Setting(L"モード"), L"1");
    EXPECT_EQ(Setting(L"Width"), L"550");
    EXPECT_FALSE(IconInTray(callback, 1));
}

TEST_F(ProgramTray, TheClearIconFollowsTheSettingAndAHiddenStartKeepsTheTrayIcon) {
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"一発消去", L"0");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"起動設定", L"1");
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow(false);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    HWND callback = CallbackWindow(program.ProcessId());
    ASSERT_NE(callback, nullptr);
    EXPECT_TRUE(IconInTray(callback, 1));
    EXPECT_FALSE(IconInTray(callback, 2));
    SendMessageW(main, WM_QUERYENDSESSION, 0, 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}
} // namespace
