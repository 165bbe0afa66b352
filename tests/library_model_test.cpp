// The library's rules without a window: group names, what a delete takes
// along, and the most files a group takes, against the test prefix's registry.
#include "framework/TApplication.h"
#include "library/PictureLibrary.h"
#include "support/ScriptedModalUI.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

namespace {
class LibraryModel : public ::testing::Test {
  protected:
    void SetUp() override {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        modal = InstallScriptedModalUI(app);
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }

    static std::wstring Files(const std::wstring& group) {
        return std::wstring(testreg::kProgram) + L"\\FileList\\" + group + L"\\Files";
    }
    static std::wstring Views(const std::wstring& group) {
        return std::wstring(testreg::kProgram) + L"\\FileList\\" + group + L"\\View";
    }
    static std::optional<std::wstring> Stored(const std::wstring& section, int n) {
        return testreg::GetString(HKEY_CURRENT_USER, section, L"File" + std::to_wstring(n));
    }
    static std::wstring Count(const std::wstring& group) {
        return testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\FileList\\" + group,
                                  L"Count")
            .value_or(L"");
    }
    // A group of n files named 1.bmp, 2.bmp, ... with positions n % 4.
    static void SeedNumbered(const std::wstring& group, int n) {
        std::vector<std::wstring> files;
        std::vector<int> views;
        for (int i = 1; i <= n; ++i) {
            files.push_back(std::to_wstring(i) + L".bmp");
            views.push_back(i % 4);
        }
        testreg::SeedGroups({group});
        testreg::SeedFiles(group, files, views);
    }

    TApplication app;
    ScriptedModalUI* modal = nullptr;
    LibraryStore store;
    PictureLibrary library{store};
};

TEST_F(LibraryModel, GroupNamesFollowTheKeyRules) {
    ASSERT_FALSE(library.AddGroup(L"Photos"));
    struct Case {
        std::wstring name;
        const wchar_t* refusal;
    } cases[] = {
        {L"壁紙グループ", L"すでにその名前のグループは存在します。"},
        {L"photos", L"すでにその名前のグループは存在します。"},
        {L"", L"グループ名称を入力して下さい。"},
        {L"a\\b", L"グループ名称に「\\」は使えません。"},
        {std::wstring(256, L'x'), L"グループ名称は255文字以内で入力して下さい。"},
        {std::wstring(255, L'x'), nullptr},
    };
    for (const Case& c : cases) {
        Refusal refusal = library.AddGroup(c.name);
        EXPECT_EQ(refusal.value_or(L""), c.refusal ? c.refusal : L"") << testing::PrintToString(c.name);
    }
    EXPECT_EQ(library.GroupCount(), 2);
    EXPECT_EQ(library.RenameGroup(0, L"x"), L"壁紙グループの変更は出来ません。");
    EXPECT_EQ(library.DeleteGroup(0), L"壁紙グループの削除は出来ません。");
    EXPECT_EQ(library.RenameGroup(1, L"PHOTOS"), L"すでにその名前のグループは存在します。");
    EXPECT_FALSE(library.RenameGroup(1, L"写真"));
    EXPECT_EQ(library.GroupName(1), L"写真");
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\FileList\\写真"));

    for (int i = library.GroupCount(); i < 50; ++i)
        ASSERT_FALSE(library.AddGroup(L"g" + std::to_wstring(i)));
    EXPECT_FALSE(library.CanAddGroup());
    EXPECT_EQ(library.AddGroup(L"one more"), L"これ以上グループは作成できません。");
}

TEST_F(LibraryModel, DeletesTakeTheirPositionsAlongAndResetTheActiveEntries) {
    testreg::SeedGroups({L"a", L"b"});
    testreg::SeedFiles(L"b", {L"1.bmp", L"2.bmp", L"3.bmp"}, {1, 2, 3});
    library.LoadGroups();
    ASSERT_FALSE(library.ShowGroup(2));
    library.SetFileView(0, 2);
    library.Applied(3);
    EXPECT_EQ(library.ActiveGroup, 2);
    EXPECT_EQ(library.ActiveFile, 3);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\動作環境", L"files"),
              L"3.bmp");

    EXPECT_EQ(library.DeleteFile(0), L"（なし）は削除出来ません。");
    EXPECT_FALSE(library.DeleteFile(1));
    EXPECT_EQ(library.Rows(), (std::vector<std::wstring>{L"(なし)", L"2.bmp", L"3.bmp"}));
    EXPECT_EQ(library.FileView(1), 2);
    EXPECT_EQ(library.FileView(2), 3);
    EXPECT_EQ(library.FileView(3), 0) << "past the list";
    EXPECT_EQ(library.ActiveFile, 0);
    EXPECT_EQ(Count(L"b"), L"2");
    EXPECT_EQ(Stored(Views(L"b"), 1), L"2");
    EXPECT_FALSE(Stored(Views(L"b"), 3));

    // Row 0 keeps its position from group to group.
    ASSERT_FALSE(library.ShowGroup(1));
    EXPECT_EQ(library.FileView(0), 2);
    ASSERT_FALSE(library.ShowGroup(2));
    EXPECT_FALSE(library.DeleteGroup(1));
    EXPECT_EQ(library.ShownGroup(), 1) << "the group on show moved up";
    EXPECT_EQ(library.GroupName(1), L"b");
    EXPECT_EQ(library.ActiveGroup, 0);
    EXPECT_EQ(library.ActiveFile, 0);
}

TEST_F(LibraryModel, AGroupTakesTenThousandFilesAndNeverLosesOnesStoredBeyond) {
    // Stored by another program or an older version: 10,003 files.
    SeedNumbered(L"big", 10003);
    library.LoadGroups();
    ASSERT_FALSE(library.ShowGroup(1));
    EXPECT_EQ(library.RowCount(), 10001) << "the first ten thousand are shown";
    EXPECT_EQ(library.AddFiles({L"new.bmp"}),
              L"1つのグループに登録できるファイルは10000個までです。1個のファイルは追加しませんでした。");
    EXPECT_EQ(Count(L"big"), L"10003");

    // A delete writes every entry back, the unshown ones after the rest.
    EXPECT_FALSE(library.DeleteFile(2));
    EXPECT_EQ(Count(L"big"), L"10002");
    EXPECT_EQ(Stored(Files(L"big"), 2), L"3.bmp");
    EXPECT_EQ(Stored(Files(L"big"), 9999), L"10000.bmp");
    EXPECT_EQ(Stored(Files(L"big"), 10000), L"10001.bmp");
    EXPECT_EQ(Stored(Files(L"big"), 10002), L"10003.bmp");
    EXPECT_FALSE(Stored(Files(L"big"), 10003));
    EXPECT_EQ(Stored(Views(L"big"), 10002), std::to_wstring(10003 % 4));
    EXPECT_EQ(Stored(Views(L"big"), 10000), std::to_wstring(10001 % 4));

    // Still more than the most: the list shows the first ten thousand again
    // and takes no file.
    ASSERT_FALSE(library.ShowGroup(1));
    EXPECT_EQ(library.RowCount(), 10001);
    EXPECT_EQ(library.Row(10000), L"10001.bmp");
    EXPECT_EQ(library.AddFiles({L"a.bmp", L"b.bmp"}),
              L"1つのグループに登録できるファイルは10000個までです。2個のファイルは追加しませんでした。");
}

TEST_F(LibraryModel, AddsStopAtTheMostAGroupTakes) {
    SeedNumbered(L"g", 9998);
    library.LoadGroups();
    ASSERT_FALSE(library.ShowGroup(1));
    EXPECT_EQ(library.AddFiles({L"x.bmp", L"y.bmp", L"z.bmp"}),
              L"1つのグループに登録できるファイルは10000個までです。1個のファイルは追加しませんでした。");
    EXPECT_EQ(library.RowCount(), 10001);
    EXPECT_EQ(Count(L"g"), L"10000");
    EXPECT_EQ(Stored(Files(L"g"), 10000), L"y.bmp");
    EXPECT_EQ(library.FileView(9999), 0) << "new files start at 標準";
}
} // namespace
