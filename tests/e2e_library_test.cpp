// The built program driven as a user would: a group added through its real
// input box, files dropped through a real HDROP, wallpapers applied through
// the menu and by double-click, checked in the BMP file, the registry and
// the shell.
#include "support/Marks.h"
#include "support/ProgramDriver.h"
#include "support/RemoteDrop.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <commctrl.h>
#include <filesystem>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

std::wstring ShellWallpaper() {
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

class ProgramLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        // The window-wide position starts from the desktop: centred here.
        testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper", L"0");
        testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle", L"0");
        dir = testfiles::FreshFolder(L"tapestra e2e");
        first = testfiles::WriteBitmap(dir + L"\\一枚目.bmp", 64, 48, RGB(10, 120, 200), RGB(10, 120, 200));
        second = testfiles::WriteBitmap(dir + L"\\二枚目.bmp", 80, 60, RGB(200, 60, 10), RGB(200, 60, 10));
        bmp = ProgramDriver::BinDir() + L"Tapestra32.BMP";
        std::error_code ec;
        std::filesystem::remove(bmp, ec);
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }
    std::optional<std::wstring> Setting(const std::wstring& name) {
        return testreg::GetString(HKEY_CURRENT_USER, kSettings, name);
    }

    std::wstring dir, first, second, bmp;
};

TEST_F(ProgramLibrary, AGroupFilesAndWallpapersThroughTheRealWindow) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    // ﾌｧｲﾙ > ｸﾞﾙｰﾌﾟ > 追加: the input box asks for the name.
    HWND input = nullptr;
    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"FGA", [&] {
        input = ProgramDriver::WaitForWindow(program.ProcessId(), nullptr, L"グループ名称の入力", 200);
        return input != nullptr;
    }));
    HWND edit = FindWindowExW(input, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"旅の写真"));
    PostMessageW(input, WM_COMMAND, IDOK, 0);
    WaitUntil([] {
        return testreg::KeyExists(HKEY_CURRENT_USER,
                                  std::wstring(testreg::kProgram) + L"\\FileList\\旅の写真");
    });
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Group1"),
              L"旅の写真");

    HWND list = ProgramDriver::FindChild(main, L"LISTBOX");
    ASSERT_NE(list, nullptr);
    DropFiles(program.ProcessId(), list, {first, dir + L"\\readme.txt", second});
    WaitUntil([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) >= 3; });
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    const std::wstring files = std::wstring(testreg::kProgram) + L"\\FileList\\旅の写真\\Files";
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, files, L"File1"), first);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, files, L"File2"), second);

    // 壁紙変更 > 次のﾌｧｲﾙ: the first file becomes the wallpaper.
    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"CA", [&] { return Setting(L"files") == first; }));
    testfiles::Bitmap written = testfiles::ReadBitmap(bmp);
    EXPECT_EQ(written.width, 64);
    EXPECT_EQ(written.height, 48);
    EXPECT_EQ(_wcsicmp(ShellWallpaper().c_str(), bmp.c_str()), 0);
    EXPECT_TRUE(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper").has_value());

    // A double-click on the second row applies it.
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    SendMessageW(main, WM_NULL, 0, 0);
    RECT item;
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    LPARAM at = MAKELPARAM(item.left + 5, item.top + 3);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    WaitUntil([&] { return Setting(L"files") == second; });
    EXPECT_EQ(Setting(L"files"), second);
    EXPECT_EQ(testfiles::ReadBitmap(bmp).width, 80);

    // 壁紙変更 > １つ前のﾌｧｲﾙ, then ﾗﾝﾀﾞﾑ変更 (the only other file).
    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"CB", [&] { return Setting(L"files") == first; }));
    EXPECT_EQ(testfiles::ReadBitmap(bmp).width, 64);
    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"CR", [&] { return Setting(L"files") == second; }));
    EXPECT_EQ(testfiles::ReadBitmap(bmp).width, 80);

    // 壁紙変更 > 壁紙の消去
    // The clear is neither stored in the profile nor broadcast; the default
    // profile's name is emptied.
    testreg::SetString(HKEY_USERS, L".Default\\Control Panel\\desktop", L"wallpaper", L"C:\\old.bmp");
    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"CC", [&] { return Setting(L"files") == L"(なし)"; }));
    EXPECT_EQ(testreg::GetString(HKEY_USERS, L".Default\\Control Panel\\desktop", L"wallpaper"), L"");

    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"FX", [&] { return !program.Running(); }));
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(Setting(L"ActiveGroup"), L"1");
    EXPECT_EQ(Setting(L"ActiveFile"), L"0");
}

TEST_F(ProgramLibrary, TheProgramRunAfterEachChangeStartsOncePerApplyAndNotOnAClear) {
    std::wstring program = marks::Install(ProgramDriver::BinDir(), dir);
    testreg::SeedGroups({L"g"});
    testreg::SeedFiles(L"g", {first, second});
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"自動実行", L"1");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"自動File", program);
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"終了", L"1");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"変更方法", L"2");
    ProgramDriver tapestra;
    ASSERT_TRUE(tapestra.Start());
    HWND main = tapestra.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(ProgramDriver::ChooseMenu(
        main, L"CA", [&] { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files") == first; }));
    EXPECT_EQ(marks::Count(program, 1), 1);
    ASSERT_TRUE(ProgramDriver::ChooseMenu(
        main, L"CA", [&] { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files") == second; }));
    EXPECT_EQ(marks::Count(program, 2), 2);
    ASSERT_TRUE(ProgramDriver::ChooseMenu(main, L"CC", [&] {
        return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files") == L"(なし)";
    }));
    // The clear's handler has returned once the program takes another message.
    SendMessageW(main, WM_NULL, 0, 0);
    ASSERT_TRUE(marks::AllEnded());
    EXPECT_EQ(marks::Count(program), 2);

    // The end of the session: the next file, the settings, and no program start.
    EXPECT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, 0), 1);
    SendMessageW(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files"), first);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kSettings, L"ActiveFile"), L"1");
    ASSERT_TRUE(marks::AllEnded());
    EXPECT_EQ(marks::Count(program), 2);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(tapestra.WaitForExit(), 0u);
}
} // namespace
