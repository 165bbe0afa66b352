// The built program started as a process: first start, single instance,
// hiding, exit and the end of the session, and a restart that restores.
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";

class Program : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }

    HWND StartProgram(ProgramDriver& program) {
        EXPECT_TRUE(program.Start());
        HWND main = program.WaitForMainWindow();
        EXPECT_NE(main, nullptr);
        return main;
    }
    void Exit(ProgramDriver& program, HWND main) {
        // ﾌｧｲﾙ(&F), 終了(&X)
        EXPECT_TRUE(ProgramDriver::ChooseMenu(main, L"FX", [&] { return !program.Running(); }));
        EXPECT_EQ(program.WaitForExit(), 0u);
    }
    static std::optional<std::wstring> Setting(const std::wstring& name) {
        return testreg::GetString(HKEY_CURRENT_USER, kSettings, name);
    }
};

TEST_F(Program, FirstStartShowsTheCentredWindowWithTheRootAlone) {
    ProgramDriver program;
    HWND main = StartProgram(program);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::kProgram));
    EXPECT_TRUE(IsWindowVisible(main));
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 550);
    EXPECT_EQ(r.bottom - r.top, 400);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 550) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 400) / 2);
    HWND tree = ProgramDriver::FindChild(main, WC_TREEVIEWW);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 1);
    HWND list = ProgramDriver::FindChild(main, L"LISTBOX");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    wchar_t text[64] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"(なし)");
    Exit(program, main);
}

TEST_F(Program, ASecondStartEndsAtOnceWithoutAWindow) {
    ProgramDriver first;
    HWND main = StartProgram(first);
    ASSERT_NE(main, nullptr);
    ProgramDriver second;
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(second.WaitForExit(10000), 0u);
    EXPECT_EQ(CountMainWindows(), 1);
    EXPECT_TRUE(first.Running());
    Exit(first, main);
}

TEST_F(Program, TheCloseBoxHidesAndExitSavesAndEnds) {
    ProgramDriver program;
    HWND main = StartProgram(program);
    ASSERT_NE(main, nullptr);
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(program.Running());
    EXPECT_FALSE(Setting(L"Width").has_value());
    Exit(program, main);
    EXPECT_EQ(Setting(L"Width"), L"550");
    EXPECT_EQ(Setting(L"Height"), L"400");
    EXPECT_EQ(Setting(L"pnlHeight"), L"150");
    EXPECT_EQ(Setting(L"pnlWidth"), L"211");
    EXPECT_EQ(Setting(L"ActiveGroup"), L"-1");
    EXPECT_EQ(Setting(L"ActiveFile"), L"0");
    EXPECT_EQ(Setting(L"モード"), L"0");
    EXPECT_EQ(Setting(L"自動実行"), L"0");
    EXPECT_EQ(Setting(L"自動File"), L"");
}

TEST_F(Program, TheEndOfTheSessionIsAllowedAndWritesTheSettings) {
    ProgramDriver program;
    HWND main = StartProgram(program);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_FALSE(Setting(L"Top").has_value());
    SendMessageW(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(Setting(L"Top"), std::to_wstring((GetSystemMetrics(SM_CYSCREEN) - 400) / 2));
    // Once the session is ending, the close box really closes.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(Program, ARestartRestoresGeometryGroupAndRow) {
    const std::wstring group = std::wstring(testreg::kProgram) + L"\\FileList\\旅行";
    const std::wstring dir = testfiles::FreshFolder(L"旅行");
    const std::wstring one = testfiles::WriteBitmap(dir + L"\\一.bmp", 8, 8, RGB(1, 1, 1));
    const std::wstring two = testfiles::WriteBitmap(dir + L"\\二.bmp", 8, 8, RGB(2, 2, 2));
    const std::wstring three = testfiles::WriteBitmap(dir + L"\\三.bmp", 8, 8, RGB(3, 3, 3));
    testreg::SetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Count", L"2");
    testreg::SetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Group1", L"空");
    testreg::SetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Group2", L"旅行");
    testreg::SetString(HKEY_CURRENT_USER, group, L"Count", L"3");
    testreg::SetString(HKEY_CURRENT_USER, group + L"\\Files", L"File1", one);
    testreg::SetString(HKEY_CURRENT_USER, group + L"\\Files", L"File2", two);
    testreg::SetString(HKEY_CURRENT_USER, group + L"\\Files", L"File3", three);
    {
        ProgramDriver program;
        HWND main = StartProgram(program);
        ASSERT_NE(main, nullptr);
        Exit(program, main);
    }
    // Move and size it as a user would have left it, with group 2 row 2 active.
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"Left", L"20");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"Top", L"30");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"Width", L"640");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"Height", L"480");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"pnlWidth", L"250");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"2");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveFile", L"2");
    ProgramDriver program;
    HWND main = StartProgram(program);
    ASSERT_NE(main, nullptr);
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    HWND list = ProgramDriver::FindChild(main, L"LISTBOX");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    wchar_t text[128] = {};
    SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), two);
    HWND status = ProgramDriver::FindChild(main, STATUSCLASSNAMEW);
    ASSERT_NE(status, nullptr);
    Exit(program, main);
    EXPECT_EQ(Setting(L"pnlWidth"), L"250");
    EXPECT_EQ(Setting(L"ActiveGroup"), L"2");
    EXPECT_EQ(Setting(L"ActiveFile"), L"2");
}
} // namespace
