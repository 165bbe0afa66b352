// The built program's options dialog: opened from the menu, numbers typed
// into its fields, stored with "設定する"; the timer then changes the
// wallpaper, and the Startup shortcut is written. Every page is worked from
// the keyboard; a hotkey typed into its field runs its command afterwards.
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>
#include <vector>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";

HWND OptionsDialog(DWORD pid) {
    return ProgramDriver::VisibleWindow(pid, L"ｵﾌﾟｼｮﾝ");
}

struct Children {
    std::vector<HWND> windows;
    static BOOL CALLBACK Add(HWND wnd, LPARAM param) {
        reinterpret_cast<Children*>(param)->windows.push_back(wnd);
        return TRUE;
    }
};

HWND ChildWithText(HWND parent, const std::wstring& text) {
    Children all;
    EnumChildWindows(parent, Children::Add, reinterpret_cast<LPARAM>(&all));
    for (HWND w : all.windows) {
        wchar_t buffer[128];
        GetWindowTextW(w, buffer, 128);
        if (text == buffer) return w;
    }
    return nullptr;
}

// The three number fields, ordered as the dialog places them: the interval
// above, then the offsets from the left and from the top.
std::vector<HWND> NumberFields(HWND dialog) {
    Children all;
    EnumChildWindows(dialog, Children::Add, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> fields;
    for (HWND w : all.windows) {
        wchar_t cls[16];
        GetClassNameW(w, cls, 16);
        if (_wcsicmp(cls, L"Edit") == 0 && (GetWindowLongW(w, GWL_STYLE) & ES_MULTILINE)) fields.push_back(w);
    }
    std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return fields;
}

std::wstring TextOf(HWND wnd) {
    wchar_t buffer[64] = {};
    SendMessageW(wnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void Type(HWND field, const std::wstring& digits) {
    PostMessageW(field, EM_SETSEL, 0, -1);
    for (wchar_t c : digits)
        PostMessageW(field, WM_CHAR, c, 0);
}

class ProgramOptions : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        dir = testfiles::FreshFolder(L"tapestra options");
        first = testfiles::WriteBitmap(dir + L"\\a.bmp", 30, 20, RGB(1, 2, 3), RGB(1, 2, 3));
        second = testfiles::WriteBitmap(dir + L"\\b.bmp", 31, 21, RGB(3, 2, 1), RGB(3, 2, 1));
        testreg::SeedGroups({L"g"});
        testreg::SeedFiles(L"g", {first, second});
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"変更方法", L"2");
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }
    std::optional<std::wstring> Setting(const std::wstring& name) {
        return testreg::GetString(HKEY_CURRENT_USER, kSettings, name);
    }
    HWND Open(HWND main) {
        HWND dialog = nullptr;
        EXPECT_TRUE(ProgramDriver::ChooseMenu(main, L"OO",
                                              [&] { return (dialog = OptionsDialog(driver.ProcessId())); }));
        return dialog;
    }
    ProgramDriver driver;
    std::wstring dir, first, second;
};

TEST_F(ProgramOptions, TypedOptionsAreStoredAndTheTimerRuns) {
    ASSERT_TRUE(driver.Start());
    HWND main = driver.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND dialog = Open(main);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));

    std::vector<HWND> fields = NumberFields(dialog);
    ASSERT_EQ(fields.size(), 3u);
    PostMessageW(ChildWithText(dialog, L"一定時間ごとに壁紙を変更する。"), BM_CLICK, 0, 0);
    PostMessageW(ChildWithText(dialog, L"壁紙の表示位置を変更する。"), BM_CLICK, 0, 0);
    Type(fields[0], L"1");
    Type(fields[1], L"12345");
    Type(fields[2], L"98");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(fields[2]) == L"98"; }, 5000));
    EXPECT_EQ(TextOf(fields[0]), L"1");
    EXPECT_EQ(TextOf(fields[1]), L"1,234");
    PostMessageW(ChildWithText(dialog, L"設定する"), BM_CLICK, 0, 0);

    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    EXPECT_EQ(Setting(L"時間"), L"1");
    EXPECT_EQ(Setting(L"時間変更"), L"1");
    EXPECT_EQ(Setting(L"XPos"), L"1234");
    EXPECT_EQ(Setting(L"YPos"), L"98");
    EXPECT_EQ(Setting(L"Move"), L"1");
    EXPECT_TRUE(IsWindowEnabled(main));
    // The timer now runs with one minute: the next file becomes the wallpaper.
    EXPECT_TRUE(WaitUntil([&] { return Setting(L"files") == first; }, 90000));
}

TEST_F(ProgramOptions, TheStartupShortcutIsWrittenTwiceAsOneFile) {
    wchar_t startup[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, 0, startup), S_OK);
    const std::filesystem::path link = std::filesystem::path(startup) / L"Tapestra32.lnk";
    std::filesystem::remove(link);
    ASSERT_TRUE(driver.Start());
    HWND main = driver.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND dialog = Open(main);
    ASSERT_NE(dialog, nullptr);
    HWND button = ChildWithText(dialog, L"スタートアップ");
    ASSERT_NE(button, nullptr);
    SendMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(link); }, 5000));
    auto firstWrite = std::filesystem::last_write_time(link);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_TRUE(std::filesystem::exists(link));
    EXPECT_GE(std::filesystem::last_write_time(link), firstWrite);
    int links = 0;
    for (const auto& entry : std::filesystem::directory_iterator(startup))
        if (entry.path().extension() == L".lnk" && entry.path().stem() == L"Tapestra32") ++links;
    EXPECT_EQ(links, 1);
    // No error box: the dialog is still the active window of the program.
    EXPECT_TRUE(IsWindowEnabled(dialog));
    PostMessageW(ChildWithText(dialog, L"ｷｬﾝｾﾙ"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    std::filesystem::remove(link);
}

TEST_F(ProgramOptions, EveryPageAndEachOfItsControlsIsReachedFromTheKeyboard) {
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"時間変更", L"1");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"時間", L"10");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"終了", L"0");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"Move", L"1");
    ASSERT_TRUE(driver.Start());
    HWND dialog = Open(driver.WaitForMainWindow());
    ASSERT_NE(dialog, nullptr);
    HWND tabs = ProgramDriver::FindChild(dialog, L"SysTabControl32");
    ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::FocusOf(dialog) == tabs; })) << "the tabs come first";
    // Tab from the tabs round to them again: the texts of the stops.
    auto tabRound = [&] {
        std::vector<std::wstring> stops;
        HWND focus = tabs;
        do {
            HWND before = focus;
            ProgramDriver::PressKeys({VK_TAB});
            if (!WaitUntil([&] { return (focus = ProgramDriver::FocusOf(dialog)) != before; })) break;
            stops.push_back(TextOf(focus));
        } while (focus != tabs && stops.size() < 16);
        return stops;
    };
    struct PageCase {
        std::vector<WORD> keys;
        LRESULT page;
        std::vector<std::wstring> stops;
    };
    const std::vector<std::wstring> buttons{L"設定する", L"ｷｬﾝｾﾙ", L""};
    // The hotkey fields have no text.
    const std::vector<std::wstring> hotKeys(5, L"");
    const PageCase cases[] = {
        {{VK_CONTROL, VK_TAB}, 1,
         {L"一定時間ごとに壁紙を変更する。", L"10", L"１つ後ろの壁紙に変更", L"一巡するまで重複しない",
          L"壁紙の表示位置を変更する。", L"0", L"0"}},
        {{VK_CONTROL, VK_NEXT}, 2,
         {L"壁紙変更後に、他のプログラムを実行する。", L"", L"参照",
          L"全画面のﾌﾟﾛｸﾞﾗﾑの実行中は時間での変更を待つ", L"スタートアップ"}},
        {{VK_CONTROL, VK_TAB}, 3, {L"すべてのﾓﾆﾀｰに同じ壁紙"}},
        {{VK_CONTROL, VK_NEXT}, 4, hotKeys},
        {{VK_CONTROL, VK_TAB}, 0,
         {L"起動時には設定画面を表示しない。", L"タスクトレイに壁紙消去のアイコンを表示する。",
          L"Windows終了時に壁紙を変更する。", L"壁紙を並べ替えの際に常に中央に壁紙を表示する。"}},
        {{VK_CONTROL, VK_SHIFT, VK_TAB}, 4, hotKeys},
        {{VK_CONTROL, VK_PRIOR}, 3, {}},
        {{VK_CONTROL, VK_PRIOR}, 2, {}},
        {{VK_CONTROL, VK_PRIOR}, 1, {}},
    };
    for (const PageCase& c : cases) {
        ProgramDriver::PressKeys(c.keys);
        EXPECT_TRUE(WaitUntil([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == c.page; })) << c.page;
        if (c.stops.empty()) continue;
        std::vector<std::wstring> stops = c.stops;
        stops.insert(stops.end(), buttons.begin(), buttons.end());
        EXPECT_EQ(tabRound(), stops) << c.page;
    }
    // Changed from the keyboard, on 壁紙 from the tabs: a number typed, the
    // next change method (the arrow goes to it, Space takes it), no repeats
    // switched on, the offset switched off.
    auto checked = [&](const wchar_t* text) {
        return SendMessageW(ChildWithText(dialog, text), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    for (WORD key : std::vector<WORD>{VK_TAB, VK_TAB, '7', VK_TAB, VK_DOWN, VK_SPACE, VK_TAB, VK_SPACE,
                                      VK_TAB, VK_SPACE})
        ProgramDriver::PressKeys({key});
    EXPECT_TRUE(WaitUntil([&] { return !checked(L"壁紙の表示位置を変更する。"); }));
    EXPECT_EQ(TextOf(NumberFields(dialog)[0]), L"7");
    EXPECT_TRUE(checked(L"ランダムに変更"));
    EXPECT_TRUE(checked(L"一巡するまで重複しない"));
}

TEST_F(ProgramOptions, AHotkeyPressedInItsFieldAndTheSpanningModeAreStoredAndTheKeyWorks) {
    // The program holds Ctrl+Alt+N for the previous file: the field of the
    // next file still takes it, since the program gives its keys back while
    // the dialog is open.
    const WORD ctrlAltN = MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_ALT);
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"HotKeyPrev", std::to_wstring(ctrlAltN));
    ASSERT_TRUE(driver.Start());
    HWND main = driver.WaitForMainWindow();
    HWND dialog = Open(main);
    ASSERT_NE(dialog, nullptr);
    HWND tabs = ProgramDriver::FindChild(dialog, L"SysTabControl32");
    ASSERT_TRUE(WaitUntil([&] { return ProgramDriver::FocusOf(dialog) == tabs; }));
    auto page = [&](LRESULT index) {
        return WaitUntil([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index; });
    };
    auto focusMoves = [&](const std::vector<WORD>& keys) {
        HWND before = ProgramDriver::FocusOf(dialog);
        ProgramDriver::PressKeys(keys);
        HWND now = nullptr;
        WaitUntil([&] { return (now = ProgramDriver::FocusOf(dialog)) != before; });
        return now;
    };
    auto hotKeyOf = [](HWND field) { return LOWORD(SendMessageW(field, HKM_GETHOTKEY, 0, 0)); };

    // ﾎｯﾄｷｰ, the last page: Ctrl+Alt+N in 次のﾌｧｲﾙ, then 1つ前のﾌｧｲﾙ emptied.
    ProgramDriver::PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
    ASSERT_TRUE(page(4));
    HWND next = focusMoves({VK_TAB});
    wchar_t cls[32] = {};
    GetClassNameW(next, cls, 32);
    ASSERT_STREQ(cls, HOTKEY_CLASSW);
    ProgramDriver::PressKeys({VK_CONTROL, VK_MENU, 'N'});
    EXPECT_TRUE(WaitUntil([&] { return hotKeyOf(next) == ctrlAltN; }));
    HWND previous = focusMoves({VK_TAB});
    EXPECT_EQ(hotKeyOf(previous), ctrlAltN) << "shown from the settings";
    ProgramDriver::PressKeys({VK_DELETE});
    EXPECT_TRUE(WaitUntil([&] { return hotKeyOf(previous) == 0; }));

    // ﾓﾆﾀｰ, the page before: from the checked button down to the last one.
    ProgramDriver::PressKeys({VK_CONTROL, VK_PRIOR});
    ASSERT_TRUE(page(3));
    EXPECT_EQ(TextOf(focusMoves({VK_TAB})), L"すべてのﾓﾆﾀｰに同じ壁紙");
    focusMoves({VK_DOWN});
    EXPECT_EQ(TextOf(focusMoves({VK_DOWN})), L"1枚の壁紙を全ﾓﾆﾀｰに広げる");
    ProgramDriver::PressKeys({VK_RETURN});

    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    EXPECT_EQ(Setting(L"HotKeyNext"), std::to_wstring(ctrlAltN));
    EXPECT_EQ(Setting(L"HotKeyPrev"), L"0");
    EXPECT_EQ(Setting(L"Monitors"), L"2");

    // The key is registered again (nobody else can take it then), now for
    // the next file: the first one. Under Wine a hotkey reaches the program
    // while one of its windows has the focus.
    ASSERT_TRUE(WaitUntil([] {
        if (!RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'N')) return true;
        UnregisterHotKey(nullptr, 1);
        return false;
    }));
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(main);
        return GetForegroundWindow() == main;
    }));
    ProgramDriver::PressKeys({VK_CONTROL, VK_MENU, 'N'});
    EXPECT_TRUE(WaitUntil([&] { return Setting(L"files") == first; }));
}
} // namespace
