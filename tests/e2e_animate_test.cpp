// Minimizing the real program's main window and restoring it from the
// taskbar: the application window (the taskbar button) is minimized with the
// main window gone, and restoring brings the main window back.
#include "support/ProgramDriver.h"
#include "support/WaitUntil.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

namespace {
std::wstring Title(HWND wnd) {
    wchar_t text[256] = {};
    GetWindowTextW(wnd, text, static_cast<int>(std::size(text)));
    return text;
}

TEST(AnimatedMinimize, TitleBarAndTaskbarMinimizeThenRestore) {
    ProgramDriver::EndStrayPrograms();
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND application = GetWindow(main, GW_OWNER);
    ASSERT_NE(application, nullptr);
    const std::wstring title = Title(application);

    // From the title bar's minimize button, then from the taskbar button.
    for (HWND target : {main, application}) {
        PostMessageW(target, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsIconic(application); }));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
        // The title is the application's again once the animation is done.
        EXPECT_TRUE(WaitUntil([&] { return Title(application) == title; }));

        PostMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsIconic(application); }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }));
        // Out of the way in the middle of the screen, no longer over the form.
        RECT r{}, form{};
        GetWindowRect(application, &r);
        GetWindowRect(main, &form);
        EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2);
        EXPECT_LT(r.right - r.left, form.right - form.left);
        EXPECT_TRUE(IsWindowVisible(application));
    }

    PostMessageW(main, WM_CLOSE, 0, 0);
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
}
} // namespace
