// Every command of the main window's owner-drawn menu bar, chosen by its
// Alt+letter path in the real program: each shows its dialog or changes the
// wallpaper setting, and ﾌｧｲﾙ > 終了 ends the program.
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";

struct ProcessDialogs {
    DWORD pid;
    HWND main;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM data) {
    auto* search = reinterpret_cast<ProcessDialogs*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, static_cast<int>(std::size(cls)));
    // System dialogs, and the program's own dialog forms.
    const std::wstring name = cls;
    if (owner == search->pid && wnd != search->main && IsWindowVisible(wnd) &&
        (name == L"#32770" || name == L"TapestraForm")) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A dialog of the program, or none.
HWND ProgramDialog(DWORD pid, HWND main) {
    ProcessDialogs search{pid, main};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectText(HWND wnd, LPARAM data) {
    wchar_t text[512] = {};
    GetWindowTextW(wnd, text, static_cast<int>(std::size(text)));
    *reinterpret_cast<std::wstring*>(data) += std::wstring(text) + L"\n";
    return TRUE;
}

// The dialog's caption and the texts of its controls.
std::wstring DialogText(HWND dialog) {
    std::wstring text;
    CollectText(dialog, reinterpret_cast<LPARAM>(&text));
    EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void CloseDialog(HWND dialog) {
    // Message boxes take Cancel or No, the input box and the file dialog
    // Cancel; the program's own dialog forms close like any window.
    wchar_t cls[64] = {};
    GetClassNameW(dialog, cls, static_cast<int>(std::size(cls)));
    const bool form = std::wstring(cls) == L"TapestraForm";
    for (int i = 0; i < 100 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) {
        if (form)
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        else
            PostMessageW(dialog, WM_COMMAND, i % 2 ? IDNO : IDCANCEL, 0);
        Sleep(50);
    }
}

struct MenuCommand {
    const wchar_t* keys;
    const wchar_t* shows; // a text of the dialog the command opens
};

// One group with one file: the group is selected, the file list at (なし).
const MenuCommand kDialogCommands[] = {
    {L"FGA", L"追加したいグループ名称を入力して下さい。"},
    {L"FGD", L"選択された「山」を削除してよろしいですか？"},
    {L"FGR", L"新しいグループ名称を入力して下さい。"},
    {L"FFA", L"壁紙ファイルの追加"},
    {L"FFD", L"（なし）は削除出来ません。"},
    {L"HI", L"ヘルプファイルが見つかりません。"},
    {L"HA", L"バージョン表示"},
    {L"OO", L"ｵﾌﾟｼｮﾝ"},
};

class MenuKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        dir = testfiles::FreshFolder(L"tapestra keys");
        picture = testfiles::WriteBitmap(dir + L"\\一枚.bmp", 32, 24, RGB(10, 120, 200), RGB(10, 120, 200));
        testreg::SeedGroups({L"山"});
        testreg::SeedFiles(L"山", {picture});
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveFile", L"0");
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }
    std::optional<std::wstring> Files() { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files"); }

    std::wstring dir, picture;
};

TEST_F(MenuKeys, EveryCommandRunsFromItsAltLetterPath) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    for (const MenuCommand& command : kDialogCommands) {
        SCOPED_TRACE(testing::Message() << "keys " << std::string(command.keys, command.keys + wcslen(command.keys)));
        HWND dialog = nullptr;
        ASSERT_TRUE(ProgramDriver::ChooseMenu(main, command.keys, [&] {
            dialog = ProgramDialog(program.ProcessId(), main);
            return dialog != nullptr;
        }));
        EXPECT_NE(DialogText(dialog).find(command.shows), std::wstring::npos);
        CloseDialog(dialog);
        ASSERT_FALSE(IsWindowVisible(dialog));
    }

    // 壁紙変更: next, clear, previous, clear, random; each shows in the stored file.
    const std::pair<const wchar_t*, std::wstring> changes[] = {
        {L"CA", picture}, {L"CC", L"(なし)"}, {L"CB", picture}, {L"CC", L"(なし)"}, {L"CR", picture},
    };
    for (const auto& [keys, stored] : changes)
        EXPECT_TRUE(ProgramDriver::ChooseMenu(main, keys, [&] { return Files() == stored; }));

    EXPECT_TRUE(ProgramDriver::ChooseMenu(main, L"FX", [&] { return !program.Running(); }));
    EXPECT_EQ(program.WaitForExit(), 0u);
}
} // namespace
