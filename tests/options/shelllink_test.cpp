// Shortcuts written by TShellLink and read back through the shell.
#include "framework/TApplication.h"
#include "options/TShellLink.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace {
struct ReadBack {
    std::wstring path, workDir, description, arguments;
    WORD hotKey = 0;
};

ReadBack Read(const std::wstring& link) {
    ReadBack r;
    IShellLinkW* shell = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&shell)),
              S_OK);
    if (!shell) return r;
    IPersistFile* file = nullptr;
    shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    EXPECT_EQ(file->Load(link.c_str(), STGM_READ), S_OK);
    wchar_t text[MAX_PATH] = {};
    shell->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    r.path = text;
    shell->GetWorkingDirectory(text, MAX_PATH);
    r.workDir = text;
    shell->GetDescription(text, MAX_PATH);
    r.description = text;
    shell->GetArguments(text, MAX_PATH);
    r.arguments = text;
    shell->GetHotkey(&r.hotKey);
    file->Release();
    shell->Release();
    return r;
}

int StoredShowCommand(const std::wstring& link) {
    std::ifstream in(std::filesystem::path(link), std::ios::binary);
    in.seekg(0x3C);
    int32_t value = 0;
    in.read(reinterpret_cast<char*>(&value), sizeof(value));
    return value;
}

std::wstring FolderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

class ShellLink : public ::testing::Test {
  protected:
    TApplication app;
    TComponent owner{nullptr};
};

TEST_F(ShellLink, TheFileNameFillsAnEmptyDescriptionAndWorkDir) {
    TShellLink& link = owner.Own<TShellLink>();
    link.SetFileName(L"C:\\Prog\\viewer.exe");
    EXPECT_EQ(link.Description, L"viewer");
    EXPECT_EQ(link.WorkDir, L"C:\\Prog");
    TShellLink& kept = owner.Own<TShellLink>();
    kept.Description = L"Vintrel For Win95";
    kept.SetFileName(L"C:\\b.exe");
    EXPECT_EQ(kept.Description, L"Vintrel For Win95");
    EXPECT_EQ(kept.WorkDir, L"C:\\");
    struct Case {
        const wchar_t* path;
        const wchar_t* dir;
    } cases[] = {{L"C:\\A\\b.exe", L"C:\\A"}, {L"C:\\b.exe", L"C:\\"}, {L"C:b.exe", L"C:"}, {L"b.exe", L""}};
    for (const Case& c : cases)
        EXPECT_EQ(TShellLink::DirectoryOf(c.path), c.dir);
}

TEST_F(ShellLink, HotKeysBecomeTheShellsWord) {
    EXPECT_EQ(TShellLink::ShellHotKey(TShellLink::scCtrl | TShellLink::scAlt | VK_F9), VK_F9 + 0x200 + 0x400);
    EXPECT_EQ(TShellLink::ShellHotKey(TShellLink::scShift | 'A'), 'A' + 0x100);
    EXPECT_EQ(TShellLink::ShellHotKey(0), 0);
}

TEST_F(ShellLink, AShortcutInTheStartupFolderReadsBack) {
    // A target in a folder whose name has no ANSI form on most systems.
    std::filesystem::path dir = std::filesystem::temp_directory_path() / L"Ссылка 壁紙";
    std::filesystem::create_directories(dir);
    std::wstring target = (dir / L"viewer.exe").wstring();
    TShellLink& link = owner.Own<TShellLink>();
    link.LinkType = TShellLinkType::lnkStartup;
    link.Arguments = L"-quiet";
    link.HotKey = TShellLink::scCtrl | TShellLink::scAlt | VK_F9;
    link.WindowState = TWindowState::wsMaximized;
    link.SetFileName(target);
    std::wstring expected = FolderPath(CSIDL_STARTUP) + L"\\viewer.lnk";
    EXPECT_EQ(link.LinkPath(), expected);
    std::filesystem::remove(expected);
    link.CreateLink();
    // Twice: the second write replaces the first.
    link.CreateLink();
    ASSERT_TRUE(std::filesystem::exists(expected));
    ReadBack r = Read(expected);
    EXPECT_EQ(r.path, target);
    EXPECT_EQ(r.workDir, dir.wstring());
    EXPECT_EQ(r.description, L"viewer");
    EXPECT_EQ(r.arguments, L"-quiet");
    EXPECT_EQ(r.hotKey, VK_F9 + 0x600);
    // The show command as stored in the file's header (offset 0x3C): this
    // Wine does not hand it back through GetShowCmd.
    EXPECT_EQ(StoredShowCommand(expected), SW_SHOWMAXIMIZED);
    std::filesystem::remove(expected);
    std::filesystem::remove_all(dir);
}

TEST_F(ShellLink, AnEmptyFileNameLinksTheRunningProgram) {
    TShellLink& link = owner.Own<TShellLink>();
    link.LinkType = TShellLinkType::lnkTemplates;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    link.CreateLink();
    std::wstring stem = std::filesystem::path(self).stem().wstring();
    std::wstring written = FolderPath(CSIDL_TEMPLATES) + L"\\" + stem + L".lnk";
    ASSERT_TRUE(std::filesystem::exists(written));
    ReadBack r = Read(written);
    EXPECT_EQ(r.path, self);
    EXPECT_EQ(r.description, stem);
    EXPECT_EQ(StoredShowCommand(written), SW_SHOWNORMAL);
    std::filesystem::remove(written);
}

TEST_F(ShellLink, ATooLongPathAndAMissingFolderAreRefusedAndWriteNothing) {
    TShellLink& link = owner.Own<TShellLink>();
    link.LinkType = TShellLinkType::lnkStartup;
    link.SetFileName(L"C:\\" + std::wstring(250, L'x') + L".exe");
    std::wstring path = FolderPath(CSIDL_STARTUP) + L"\\" + std::wstring(250, L'x') + L".lnk";
    try {
        link.CreateLink();
        FAIL() << "no error raised";
    } catch (const EShellLinkError& e) {
        EXPECT_EQ(e.Message, L"ショートカットのパスが長すぎます。 [" + path + L"]");
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(FolderPath(CSIDL_STARTUP)) /
                                         (std::wstring(250, L'x') + L".lnk")));
    // A reserved value names no folder; the recycle bin has no path.
    link.SetFileName(L"C:\\viewer.exe");
    for (TShellLinkType type : {TShellLinkType::lnkReserved5, TShellLinkType::lnkBitBucket}) {
        link.LinkType = type;
        try {
            link.CreateLink();
            ADD_FAILURE() << "no error raised for " << static_cast<int>(type);
        } catch (const EShellLinkError& e) {
            EXPECT_EQ(e.Message, L"Error in GetSpecialFolderLocation");
        }
    }
}

TEST_F(ShellLink, AFileTheFolderRefusesIsReported) {
    // A folder of the link's name stands where the file would go.
    TShellLink& link = owner.Own<TShellLink>();
    link.LinkType = TShellLinkType::lnkStartup;
    link.SetFileName(L"C:\\Prog\\refused.exe");
    const std::filesystem::path blocked = link.LinkPath();
    std::filesystem::create_directories(blocked);
    try {
        link.CreateLink();
        ADD_FAILURE() << "no error raised";
    } catch (const EShellLinkError& e) {
        EXPECT_EQ(e.Message, L"ショートカットを保存できません。 [" + blocked.wstring() + L"]");
    }
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    std::filesystem::remove(blocked);
}
} // namespace
