// Minimizing the real program's main window and restoring it from the
// taskbar or the tray: the application window (the taskbar button) is
// minimized with the main window gone, and restoring brings the main window
// back and leaves no empty window of the form's size.
#include "support/ProgramDriver.h"
#include "support/TestRegistry.h"
#include "support/TrayCallback.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
std::wstring Title(HWND wnd) {
    wchar_t text[256] = {};
    GetWindowTextW(wnd, text, static_cast<int>(std::size(text)));
    return text;
}

TEST(AnimatedMinimize, MinimizeThenRestoreFromTheTaskbarOrTheTray) {
    ProgramDriver::EndStrayPrograms();
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND application = GetWindow(main, GW_OWNER);
    ASSERT_NE(application, nullptr);
    const std::wstring title = Title(application);
    const std::function<void()> fromTaskbar = [&] { PostMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0); };
    const std::function<void()> fromTray = [&] {
        ProgramDriver::ChooseTrayMenu(CallbackWindow(program.ProcessId()), L'S', [&] { return !IsIconic(application); });
    };
    struct Round {
        HWND minimizeAt;
        const std::function<void()>& restore;
    };

    // Minimized from the title bar's button or the taskbar button, restored
    // from the taskbar or by the tray's 起動(&S).
    for (const Round& round : {Round{main, fromTaskbar}, Round{application, fromTaskbar}, Round{main, fromTray}}) {
        PostMessageW(round.minimizeAt, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsIconic(application); }));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
        // The title is the application's again once the animation is done.
        EXPECT_TRUE(WaitUntil([&] { return Title(application) == title; }));

        round.restore();
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
