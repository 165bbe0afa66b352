// The real program with a modal window up (the options dialog, the version
// dialog, a message box): activating the program from the task bar brings
// that window to the front, never the disabled main window, and the tray
// takes no commands meanwhile.
#include "support/ProgramDriver.h"
#include "support/TestRegistry.h"
#include "support/TrayCallback.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
struct ModalCase {
    const char* what;
    const wchar_t* menuKeys;
    std::function<HWND(DWORD pid)> find;
};

TEST(ModalWindows, ActivatingTheProgramShowsTheModalWindowAndTheTrayWaits) {
    ProgramDriver::EndStrayPrograms();
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND application = GetWindow(main, GW_OWNER), callback = CallbackWindow(program.ProcessId());
    // A window of another program that has the activation before each click.
    HWND other = CreateWindowW(L"STATIC", L"other", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200, 80, nullptr,
                               nullptr, nullptr, nullptr);
    const ModalCase cases[] = {
        {"options", L"OO", [](DWORD pid) { return ProgramDriver::VisibleWindow(pid, L"ｵﾌﾟｼｮﾝ"); }},
        {"version", L"HA", [](DWORD pid) { return ProgramDriver::VisibleWindow(pid, L"バージョン表示"); }},
        {"no help file", L"HI", [](DWORD pid) { return ProgramDriver::WaitForMessageBox(pid, 0); }},
    };
    for (const ModalCase& c : cases) {
        SCOPED_TRACE(c.what);
        HWND modal = nullptr;
        ASSERT_TRUE(ProgramDriver::ChooseMenu(main, c.menuKeys, [&] { return (modal = c.find(program.ProcessId())); }));
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == modal; })) << "it came up in front";
        // The desktop may hand a just-shown box the front back once.
        ASSERT_TRUE(WaitUntil([&] { return SetForegroundWindow(other) && GetForegroundWindow() == other; }));
        // The desktop's task bar sometimes drops a click: click until one lands.
        ASSERT_TRUE(WaitUntil([&] {
            return ProgramDriver::ClickTaskbarButton(application) &&
                   WaitUntil([&] { return GetForegroundWindow() != other; }, 1000);
        }));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == modal; })) << "the disabled window came first";
        // A right click on the tray icon is taken at once and opens no menu.
        DWORD_PTR answer = 0;
        EXPECT_TRUE(SendMessageTimeoutW(callback, kTrayMessage, 1, WM_RBUTTONDOWN, SMTO_NORMAL, 3000, &answer));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == modal; }));
        ProgramDriver::PressKeys({VK_ESCAPE});
        PostMessageW(modal, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));
    }
    DestroyWindow(other);
    SendMessageW(main, WM_QUERYENDSESSION, 0, 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
}
} // namespace
