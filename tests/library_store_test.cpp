// The library store alone, against the registry of the test prefix: no window.
#include "library/LibraryStore.h"
#include "framework/Exception.h"
#include "framework/TApplication.h"
#include "support/ScriptedModalUI.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
class Store : public ::testing::Test {
  protected:
    void SetUp() override {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        modal = InstallScriptedModalUI(app);
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }
    static std::wstring Section(const std::wstring& group) {
        return std::wstring(testreg::kProgram) + L"\\FileList\\" + group;
    }

    // The rows a list shows of what was loaded: "(なし)" first.
    static std::vector<std::wstring> Rows(const LibraryStore::LoadedFiles& loaded) {
        std::vector<std::wstring> rows{L"(なし)"};
        for (const auto& file : loaded.Files)
            rows.push_back(file.Path);
        return rows;
    }
    // A row's position; rows past the list are at 0.
    static int View(const LibraryStore::LoadedFiles& loaded, size_t row) {
        return row >= 1 && row <= loaded.Files.size() ? loaded.Files[row - 1].View : 0;
    }

    TApplication app;
    ScriptedModalUI* modal = nullptr;
    LibraryStore store;
};

TEST_F(Store, AFileListComesBackAsItWasSaved) {
    const std::vector<std::wstring> rows = {L"(なし)", L"C:\\写真\\富士山.bmp", L"D:\\with blank.jpg", L""};
    testreg::SeedFiles(L"山", {}, {2, 0, 3});
    store.SaveFileList(L"山", std::vector<std::wstring>(rows.begin() + 1, rows.end()));
    LibraryStore::LoadedFiles loaded = LibraryStore().LoadFileList(L"山");
    EXPECT_EQ(Rows(loaded), rows);
    EXPECT_FALSE(loaded.Error);
    EXPECT_EQ(View(loaded, 1), 2);
    EXPECT_EQ(View(loaded, 3), 3);
    EXPECT_EQ(View(loaded, 4), 0);
}

TEST_F(Store, StoredCountsAreBoundedAndNegativeOnesAreEmpty) {
    struct Case {
        const wchar_t* count;
        size_t groups, rows;
    } cases[] = {{L"2147483647", 50, 10001}, {L"0x7FFFFFFF", 50, 10001}, {L"-5", 0, 1}, {L"3", 3, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.count)));
        testreg::SetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Count",
                           c.count);
        testreg::SetString(HKEY_CURRENT_USER, Section(L"g"), L"Count", c.count);
        EXPECT_EQ(store.LoadGroupNames().size(), c.groups);
        EXPECT_EQ(Rows(store.LoadFileList(L"g")).size(), c.rows);
        // The rewrites, which first clear up to the old count, end too.
        store.SaveGroupList({L"a"});
        store.SaveFileList(L"g", {L"C:\\a.bmp"});
        EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group"), 2u);
    }
}

TEST_F(Store, ANamelessGroupWritesNothing) {
    testreg::SeedFiles(L"other", {L"C:\\o.bmp"}, {1});
    const std::function<void()> writes[] = {
        [&] {
            store.SaveFileList(L"", {L"C:\\x.bmp"});
        },
        [&] { store.SaveFileView(L"", 1, 3); },
        [&] { store.SaveFileViews(L"", {0}); },
    };
    for (const auto& write : writes) {
        try {
            write();
            ADD_FAILURE() << "a nameless group was written";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message, L"ｷｰ FileList\\ の作成に失敗しました");
        }
    }
    store.EraseGroup(L"");
    EXPECT_FALSE(
        testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\FileList", L"Count"));
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Section(L"other") + L"\\Files", L"File1"), L"C:\\o.bmp");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Section(L"other") + L"\\View", L"File1"), L"1");
}

TEST_F(Store, ARenameMovesTheFilesButNeverOntoAnotherGroup) {
    testreg::SeedFiles(L"old", {L"C:\\a.bmp"}, {2});
    testreg::SeedFiles(L"taken", {L"C:\\t.bmp"});
    store.RenameGroup(L"old", L"taken");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Section(L"taken") + L"\\Files", L"File1"), L"C:\\t.bmp");
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, Section(L"old")));
    store.RenameGroup(L"old", L"新しい");
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, Section(L"old")));
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Section(L"新しい") + L"\\Files", L"File1"), L"C:\\a.bmp");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Section(L"新しい") + L"\\View", L"File1"), L"2");
}

TEST_F(Store, AfterADeleteThePositionsMoveUpWithTheirRows) {
    testreg::SeedFiles(L"g", {L"1", L"2", L"3", L"4"}, {1, 2, 3, 0});
    testreg::SetString(HKEY_CURRENT_USER, Section(L"g") + L"\\View", L"File0", L"3");
    // Row 2 deleted: the positions of rows 1, 3 and 4 remain.
    LibraryStore::LoadedFiles loaded = store.LoadFileList(L"g");
    store.SaveFileViews(L"g", {View(loaded, 1), View(loaded, 3), View(loaded, 4)});
    const std::wstring views = Section(L"g") + L"\\View";
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, views), 3u);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, views, L"File1"), L"1");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, views, L"File2"), L"3");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, views, L"File3"), L"0");
}

TEST_F(Store, TheWindowStateComesBackAndDefaultsCentreTheWindow) {
    const SIZE screen{1024, 768};
    EXPECT_EQ(store.LoadWindowSize().cx, 550);
    EXPECT_EQ(store.LoadWindowSize().cy, 400);
    POINT centred = store.LoadWindowOrigin(SIZE{600, 300}, screen);
    EXPECT_EQ(centred.x, 212);
    EXPECT_EQ(centred.y, 234);
    Options options;
    options.TrayMode = TTrayMode::Next;
    store.SaveSettings(options, RECT{-20, 10, 580, 460}, SIZE{180, 120}, 4, 7);
    LibraryStore reader;
    Options read;
    LibraryStore::AppliedState applied = reader.LoadSettings(read);
    EXPECT_EQ(read.TrayMode, TTrayMode::Next);
    EXPECT_EQ(applied.ActiveGroup, 4);
    EXPECT_EQ(applied.ActiveFile, 7);
    EXPECT_EQ(reader.LoadWindowSize().cx, 600);
    EXPECT_EQ(reader.LoadWindowSize().cy, 450);
    POINT origin = reader.LoadWindowOrigin(SIZE{600, 450}, screen);
    EXPECT_EQ(origin.x, -20);
    EXPECT_EQ(origin.y, 10);
    EXPECT_EQ(reader.LoadPanelSizes().cx, 180);
    EXPECT_EQ(reader.LoadPanelSizes().cy, 120);
    EXPECT_TRUE(modal->Errors.empty());
}
} // namespace
