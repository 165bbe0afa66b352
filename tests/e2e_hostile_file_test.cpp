// The wallpaper file where the built program cannot write it: held open by
// another process, and in a folder that refuses writes. The apply must show
// the error and change nothing: not the applied file's name, not the
// desktop's wallpaper values; and no temporary file stays.
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/TrayCallback.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

// What an apply changes when it succeeds. The desktop's values are read from
// the registry, where the shell takes them: Wine keeps a process's own answer
// to SPI_GETDESKWALLPAPER once it has set it, so that answer would not tell.
struct AppliedState {
    std::optional<std::wstring> files, wallpaper, tile, style;
};

AppliedState Current() {
    return {testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files"),
            testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"Wallpaper"),
            testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"),
            testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle")};
}

void ExpectUnchanged(const AppliedState& before) {
    const AppliedState now = Current();
    EXPECT_EQ(now.files, before.files) << "the applied file's name";
    EXPECT_EQ(now.wallpaper, before.wallpaper) << "Control Panel\\Desktop Wallpaper";
    EXPECT_EQ(now.tile, before.tile) << "TileWallpaper";
    EXPECT_EQ(now.style, before.style) << "WallpaperStyle";
}

std::string Content(const std::wstring& file) {
    std::ifstream in{std::filesystem::path(file), std::ios::binary};
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class HostileWallpaperFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        const std::wstring dir = testfiles::FreshFolder(L"tapestra hostile file");
        picture = testfiles::WriteBitmap(dir + L"\\壁紙.bmp", 64, 48, RGB(20, 90, 160));
        const std::wstring earlier = testfiles::WriteBitmap(dir + L"\\earlier.bmp", 16, 16, RGB(1, 2, 3));
        testreg::SeedGroups({L"g"});
        // Stretched, while the desktop tiles: an apply would change both values.
        testreg::SeedFiles(L"g", {picture}, {3});
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
        // The tray icon's double-click changes to the next file.
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"モード", L"1");
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"files", earlier);
        testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"Wallpaper", earlier);
        testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper", L"1");
        testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle", L"0");
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }

    // Starts the program of the folder and asks for the next wallpaper
    // through the tray icon.
    void ApplyFrom(const std::wstring& folder) {
        ASSERT_TRUE(program.Start(folder));
        ASSERT_NE(program.WaitForMainWindow(), nullptr);
        ApplyAgain();
    }
    void ApplyAgain() {
        HWND callback = CallbackWindow(program.ProcessId());
        ASSERT_NE(callback, nullptr);
        PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    }
    // Waits for the error box, answers it and returns its text once the
    // program has left the failed apply.
    std::wstring AnswerError() {
        HWND box = ProgramDriver::WaitForMessageBox(program.ProcessId());
        if (!box) return L"<no message box>";
        const std::wstring text = ProgramDriver::MessageBoxText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        // Answered only after the handler that showed the box has returned.
        HWND main = program.WaitForMainWindow();
        EXPECT_NE(main, nullptr);
        return text;
    }

    ProgramDriver program;
    std::wstring picture;
};

TEST_F(HostileWallpaperFile, HeldOpenByAnotherProcessTheApplyIsRefusedAndTriedAgainLater) {
    const std::wstring bmp = ProgramDriver::BinDir() + L"Tapestra32.BMP";
    testfiles::WriteBitmap(bmp, 8, 8, RGB(5, 5, 5));
    const std::string old = Content(bmp);
    // No sharing at all: under Wine this holds for other processes too.
    HANDLE held = CreateFileW(bmp.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const AppliedState before = Current();

    ApplyFrom(ProgramDriver::BinDir());
    EXPECT_EQ(AnswerError(), L"ファイル " + bmp + L" に書き込めません");
    ExpectUnchanged(before);
    EXPECT_FALSE(std::filesystem::exists(bmp + L".tmp"));
    CloseHandle(held);
    EXPECT_EQ(Content(bmp), old);

    // Once the file is free the same apply goes through.
    ApplyAgain();
    ASSERT_TRUE(WaitUntil(
        [&] { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files") == picture; }, 10000));
    // Stretched: written at the screen's size.
    EXPECT_EQ(testfiles::ReadBitmap(bmp).width, GetSystemMetrics(SM_CXSCREEN));
    const AppliedState after = Current();
    EXPECT_EQ(after.wallpaper, bmp);
    EXPECT_EQ(after.tile, L"0");
    EXPECT_EQ(after.style, L"2");
}

// The tests run as root, whom neither Unix permissions nor the read-only
// attribute stop under Wine: scripts/readonly-folder.sh makes a copy of the
// program in a folder with the immutable attribute, which refuses every new
// file, rename and write, as a folder without write access does on Windows.
TEST_F(HostileWallpaperFile, InAReadOnlyFolderTheApplyIsRefused) {
    const std::wstring folder = ProgramDriver::BinDir() + L"readonly\\";
    ASSERT_TRUE(std::filesystem::exists(folder + L"Tapestra32.exe"))
        << "scripts/readonly-folder.sh did not run";
    const std::wstring probe = folder + L"probe";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        DeleteFileW(probe.c_str());
        GTEST_SKIP() << "this file system lets the test's user write in a locked folder";
    }
    const std::wstring bmp = folder + L"Tapestra32.BMP";
    const std::string old = Content(bmp);
    const AppliedState before = Current();

    ApplyFrom(folder);
    EXPECT_EQ(AnswerError(), L"ファイル " + bmp + L" を作成できません");
    ExpectUnchanged(before);
    EXPECT_FALSE(std::filesystem::exists(bmp + L".tmp"));
    EXPECT_EQ(Content(bmp), old);
    // The program goes on.
    EXPECT_TRUE(program.Running());
}
} // namespace
