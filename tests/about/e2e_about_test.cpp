// The version dialog from the built program: ﾍﾙﾌﾟ > ﾊﾞｰｼﾞｮﾝ表示 opens it
// modally over the main window, it closes, and the program goes on.
#include "about/AboutHost.h"
#include "support/ProgramDriver.h"
#include "support/TestRegistry.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {
using abouthost::FindDialog;

TEST(ProgramAbout, HelpMenuShowsTheVersionDialogModally) {
    ProgramDriver::EndStrayPrograms();
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first" : "second");
        ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"HA", [&] { return FindDialog(program.ProcessId()) != nullptr; }));
        HWND dialog = FindDialog(program.ProcessId());
        auto labels = abouthost::Labels(dialog);
        EXPECT_EQ(labels[abouthost::kTitle], L"Vintrel");
        EXPECT_EQ(labels[abouthost::kVersion], L"Ver 3.20");
        EXPECT_EQ(labels[abouthost::kMsg2], L"フリーウエア版");
        HWND owner = GetWindow(dialog, GW_OWNER);
        wchar_t ownerClass[64] = {};
        GetClassNameW(owner, ownerClass, 64);
        EXPECT_EQ(owner, main) << "owned by a window of class " << testing::PrintToString(std::wstring(ownerClass));
        EXPECT_FALSE(IsWindowEnabled(main)) << "the main window takes no input meanwhile";

        // Enter the first time, the close box the second.
        if (round == 0)
            abouthost::PostKey(dialog, VK_RETURN);
        else
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));
        EXPECT_TRUE(program.Running());
    }
    // The program goes on: its menu still works (ﾌｧｲﾙ > 終了 ends it).
    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"FX", [&] { return !program.Running(); }));
    EXPECT_EQ(program.WaitForExit(), 0u);
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
}
} // namespace
