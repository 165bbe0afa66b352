// The built program commanded from outside its window: a second start with a
// command hands it over and ends at once, a start with one carries it out, a
// wrong argument is said, and a global hotkey changes the wallpaper.
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";

class ProgramCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        dir = testfiles::FreshFolder(L"tapestra commands");
        first = testfiles::WriteBitmap(dir + L"\\a.bmp", 30, 20, RGB(1, 2, 3), RGB(1, 2, 3));
        second = testfiles::WriteBitmap(dir + L"\\b.bmp", 31, 21, RGB(3, 2, 1), RGB(3, 2, 1));
        testreg::SeedGroups({L"g"});
        testreg::SeedFiles(L"g", {first, second});
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
    }
    void TearDown() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    }
    static std::wstring Applied() {
        return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files").value_or(L"");
    }
    // A second start with these arguments; its exit code.
    static DWORD SecondStart(const std::wstring& arguments) {
        ProgramDriver second;
        if (!second.Start(ProgramDriver::BinDir(), arguments)) return ~0u;
        return second.WaitForExit(10000);
    }

    std::wstring dir, first, second;
};

TEST_F(ProgramCommands, ASecondStartHandsItsCommandOverAndEndsAtOnce) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    struct Case {
        const wchar_t* arguments;
        std::function<bool()> done;
    } cases[] = {
        {L"/next", [&] { return Applied() == first; }},
        {L"-NEXT", [&] { return Applied() == second; }},
        {L"/Prev", [&] { return Applied() == first; }},
        {L"/pause", [&] { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"Pause") == L"1"; }},
        {L"/resume", [&] { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"Pause") == L"0"; }},
        {L"/clear", [&] { return Applied() == L"(なし)"; }},
        {L"", [] { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.arguments)));
        EXPECT_EQ(SecondStart(c.arguments), 0u);
        EXPECT_TRUE(WaitUntil(c.done));
        EXPECT_EQ(CountMainWindows(), 1) << "the second start shows nothing";
    }
    EXPECT_EQ(SecondStart(L"/exit"), 0u);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(ProgramCommands, AFirstStartCarriesItsCommandOutAndAWrongOneIsSaid) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ProgramDriver::BinDir(), L"/next"));
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Applied() == first; }));
    EXPECT_EQ(SecondStart(L"/exit"), 0u);
    ASSERT_EQ(program.WaitForExit(), 0u);

    ProgramDriver wrong;
    ASSERT_TRUE(wrong.Start(ProgramDriver::BinDir(), L"/nxt"));
    HWND box = ProgramDriver::WaitForMessageBox(wrong.ProcessId());
    ASSERT_NE(box, nullptr);
    const std::wstring text = ProgramDriver::MessageBoxText(box);
    for (const wchar_t* expected : {L"「/nxt」", L"/next", L"/prev", L"/random", L"/clear", L"/pause", L"/resume",
                                    L"/show", L"/exit"})
        EXPECT_NE(text.find(expected), std::wstring::npos) << testing::PrintToString(std::wstring(expected));
    EXPECT_EQ(CountMainWindows(), 0) << "nothing starts";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(wrong.WaitForExit(), 1u);
}

TEST_F(ProgramCommands, AHotkeyChangesTheWallpaperAndAKeyHeldElsewhereIsSaid) {
    // Ctrl+Shift+F11 for the next file; Ctrl+Shift+F12, held by this test,
    // for the random change.
    const WORD next = MAKEWORD(VK_F11, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    const WORD random = MAKEWORD(VK_F12, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"HotKeyNext", std::to_wstring(next));
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"HotKeyRandom", std::to_wstring(random));
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F12));

    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "the start goes on past the taken key";
    HWND box = ProgramDriver::WaitForMessageBox(program.ProcessId());
    ASSERT_NE(box, nullptr);
    const std::wstring text = ProgramDriver::MessageBoxText(box);
    EXPECT_NE(text.find(L"（ランダム変更）"), std::wstring::npos) << testing::PrintToString(text);
    EXPECT_EQ(text.find(L"次のファイル"), std::wstring::npos) << "the free key is not said";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    UnregisterHotKey(nullptr, 1);

    // Under Wine a hotkey reaches the program while one of its windows has the focus.
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(main);
        return GetForegroundWindow() == main;
    }));
    auto key = [](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        return input;
    };
    INPUT press[] = {key(VK_CONTROL, false), key(VK_SHIFT, false), key(VK_F11, false),
                     key(VK_F11, true),      key(VK_SHIFT, true),  key(VK_CONTROL, true)};
    SendInput(static_cast<UINT>(std::size(press)), press, sizeof(INPUT));
    EXPECT_TRUE(WaitUntil([&] { return Applied() == first; }));
}
} // namespace
