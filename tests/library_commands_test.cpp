// The group and file commands of the main window, in-process with the modal
// UI scripted, checked against the tree, the list and the registry.
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <algorithm>

namespace {
class Library : public MainWindowFixture {
  protected:
    bool AddGroup(const std::wstring& name) {
        modal->InputAnswers.push_back({true, name});
        size_t before = main->GroupTree->Count();
        main->AddGroupClick();
        return static_cast<size_t>(main->GroupTree->Count()) == before + 1;
    }
    void SelectGroup(int index) { main->GroupTree->Select(main->GroupTree->ItemAt(index)); }
    std::vector<std::wstring> Rows() {
        std::vector<std::wstring> rows;
        for (int i = 0; i < main->FileList->RowCount(); ++i)
            rows.push_back(main->FileList->Cell(i));
        return rows;
    }
};

TEST_F(Library, FiftyGroupsAndNoMore) {
    Start();
    for (int i = 1; i <= 50; ++i)
        ASSERT_TRUE(AddGroup(L"g" + std::to_wstring(i)));
    EXPECT_EQ(modal->Inputs.size(), 50u);
    main->AddGroupClick();
    EXPECT_EQ(modal->Inputs.size(), 50u) << "no input box for a 51st group";
    ASSERT_FALSE(modal->Messages.empty());
    EXPECT_EQ(modal->Messages.back(), L"これ以上グループは作成できません。");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Count"),
              L"50");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Group50"),
              L"g50");
}

TEST_F(Library, AddingAGroupSelectsItStoresItAndCreatesItsKey) {
    Start();
    ASSERT_TRUE(AddGroup(L"夏の写真"));
    EXPECT_EQ(modal->Inputs.back(), L"グループ名称の入力|追加したいグループ名称を入力して下さい。|");
    EXPECT_EQ(main->GroupTree->NodeText(main->GroupTree->Selected()), L"夏の写真");
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"夏の写真")));
    EXPECT_EQ(main->FileList->RowCount(), 1);
}

TEST_F(Library, NamesThatWouldShareOrEscapeAKeyAreRefused) {
    Start();
    ASSERT_TRUE(AddGroup(L"Photos"));
    struct Case {
        std::wstring name, message;
    } cases[] = {{L"壁紙グループ", L"すでにその名前のグループは存在します。"},
                 {L"Photos", L"すでにその名前のグループは存在します。"},
                 {L"PHOTOS", L"すでにその名前のグループは存在します。"},
                 {L"", L"グループ名称を入力して下さい。"},
                 {L"a\\b", L"グループ名称に「\\」は使えません。"},
                 {std::wstring(256, L'x'), L"グループ名称は255文字以内で入力して下さい。"}};
    for (const auto& c : cases) {
        EXPECT_FALSE(AddGroup(c.name));
        ASSERT_FALSE(modal->Messages.empty());
        EXPECT_EQ(modal->Messages.back(), c.message);
    }
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"a")));
    EXPECT_TRUE(AddGroup(std::wstring(255, L'y')));
}

TEST_F(Library, CancelledInputChangesNothing) {
    Start();
    modal->InputAnswers.push_back({false, L"ignored"});
    main->AddGroupClick();
    EXPECT_EQ(main->GroupTree->Count(), 1);
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group"));
}

TEST_F(Library, RenamingToTheSameNameIsRefusedAndARenameMovesTheKey) {
    SeedGroups({L"old"});
    SeedFiles(L"old", {L"C:\\a.bmp", L"C:\\b.bmp"}, {2, 3});
    SetSetting(L"ActiveGroup", L"1");
    Start();
    modal->InputAnswers.push_back({true, L"old"});
    main->RenameClick();
    EXPECT_EQ(modal->Inputs.back(), L"グループ名称の変更|新しいグループ名称を入力して下さい。|old");
    EXPECT_EQ(modal->Messages.back(), L"すでにその名前のグループは存在します。");
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"old")));

    modal->InputAnswers.push_back({true, L"新しい"});
    main->RenameClick();
    EXPECT_EQ(main->GroupTree->NodeText(main->GroupTree->Selected()), L"新しい");
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"old")));
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"新しい") + L"\\Files", L"File2"),
              L"C:\\b.bmp");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"新しい") + L"\\View", L"File2"), L"3");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Group1"),
              L"新しい");
}

TEST_F(Library, TheRootCannotBeRenamedDeletedOrGivenFilesByTheDialog) {
    Start();
    SelectGroup(0);
    main->RenameClick();
    EXPECT_EQ(modal->Messages.back(), L"壁紙グループの変更は出来ません。");
    main->Delete1Click();
    EXPECT_EQ(modal->Messages.back(), L"壁紙グループの削除は出来ません。");
    main->AddFilesClick();
    EXPECT_EQ(modal->Messages.back(), L"壁紙グループにファイルの追加は行えません。");
    EXPECT_TRUE(modal->Inputs.empty());
    EXPECT_TRUE(modal->Dialogs.empty());
    EXPECT_TRUE(modal->OpenDialogs.empty());
}

TEST_F(Library, WithNothingSelectedNoCommandChangesAnything) {
    SeedGroups({L"g"});
    SeedFiles(L"g", {L"C:\\a.bmp"});
    Start();
    ASSERT_EQ(main->GroupTree->Selected(), nullptr);
    main->RenameClick();
    main->Delete1Click();
    main->AddFilesClick();
    main->FileDrop1FileDrop({L"C:\\x.bmp"});
    EXPECT_TRUE(modal->Inputs.empty());
    EXPECT_TRUE(modal->Dialogs.empty());
    EXPECT_TRUE(modal->OpenDialogs.empty());
    EXPECT_EQ(main->FileList->RowCount(), 1);
    EXPECT_EQ(main->GroupTree->Count(), 2);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"g"), L"Count"), L"1");
    // Nothing was written under the key that holds every group's list.
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\FileList"), 0u);
}

TEST_F(Library, DeletingAGroupRemovesItsKeyAndSelectsTheRoot) {
    SeedGroups({L"keep", L"gone"});
    SeedFiles(L"gone", {L"C:\\a.bmp"}, {1});
    SetSetting(L"ActiveGroup", L"2");
    SetSetting(L"ActiveFile", L"1");
    Start();
    modal->DialogAnswers.push_back(mrNo);
    main->Delete1Click();
    EXPECT_EQ(modal->Dialogs.back(), L"選択された「gone」を削除してよろしいですか？");
    EXPECT_EQ(main->GroupTree->Count(), 3);
    modal->DialogAnswers.push_back(mrYes);
    main->Delete1Click();
    EXPECT_EQ(main->GroupTree->Count(), 2);
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"gone")));
    EXPECT_EQ(main->GroupTree->Selected(), main->GroupTree->Root());
    EXPECT_EQ(main->FileList->RowCount(), 1);
    EXPECT_EQ(main->FileList->Row(), 0);
    EXPECT_EQ(main->Library.ActiveGroup, 0);
    EXPECT_EQ(main->Library.ActiveFile, 0);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, std::wstring(testreg::kProgram) + L"\\Group", L"Count"),
              L"1");
}

TEST_F(Library, TheDialogAddsFilesInItsOrderAtPositionZero) {
    SeedGroups({L"g"});
    SeedFiles(L"g", {L"C:\\a.bmp"});
    SetSetting(L"ActiveGroup", L"1");
    Start();
    modal->FileAnswers.push_back({L"C:\\p\\b.jpg", L"C:\\p\\c.tif"});
    main->AddFilesClick();
    ASSERT_EQ(modal->OpenDialogs.size(), 1u);
    EXPECT_EQ(modal->OpenDialogs[0].Title, L"壁紙ファイルの追加");
    const std::wstring& filter = modal->OpenDialogs[0].Filter;
    EXPECT_NE(filter.find(L"TIFFファイル|*.tif;*.tiff"), std::wstring::npos);
    EXPECT_NE(filter.find(L"JPGファイル|*.jpg;*.jpe;*.jpeg;*.jfif|"), std::wstring::npos);
    EXPECT_NE(filter.find(L"PNGファイル|*.png"), std::wstring::npos);
    EXPECT_NE(filter.find(L";*.png;*.jpeg;*.jfif|"), std::wstring::npos) << "all pictures";
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"(なし)", L"C:\\a.bmp", L"C:\\p\\b.jpg", L"C:\\p\\c.tif"}));
    EXPECT_EQ(main->Library.FileView(3), 0);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"g"), L"Count"), L"3");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"g") + L"\\Files", L"File3"),
              L"C:\\p\\c.tif");
}

TEST_F(Library, ADropKeepsOnlyPicturesInDropOrderWithoutGaps) {
    SeedGroups({L"g"});
    SetSetting(L"ActiveGroup", L"1");
    Start();
    main->FileDrop1FileDrop({L"C:\\d\\one.jpg", L"C:\\d\\notes.txt", L"C:\\d\\two.Jpg", L"C:\\d.x\\three.TIF",
                             L"C:\\d\\four.bmp", L"C:\\d.bmp\\noext", L"C:\\d\\five.png", L"C:\\d\\six.JPEG",
                             L"C:\\d\\seven.jfif"});
    EXPECT_EQ(Rows(), (std::vector<std::wstring>{
                          L"(なし)", L"C:\\d\\one.jpg", L"C:\\d\\two.Jpg", L"C:\\d.x\\three.TIF",
                          L"C:\\d\\four.bmp", L"C:\\d\\five.png", L"C:\\d\\six.JPEG", L"C:\\d\\seven.jfif"}));
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"g"), L"Count"), L"7");
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, GroupSection(L"g") + L"\\Files"), 7u);
}

TEST_F(Library, DroppingOntoTheRootStoresUnderTheRootsName) {
    Start();
    SelectGroup(0);
    main->FileDrop1FileDrop({L"C:\\r\\a.gif"});
    EXPECT_EQ(main->FileList->RowCount(), 2);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"壁紙グループ") + L"\\Files", L"File1"),
              L"C:\\r\\a.gif");
}

TEST_F(Library, DeletingRowTwoOfFiveMovesTheLaterRowsAndTheirPositions) {
    SeedGroups({L"g"});
    SeedFiles(L"g", {L"C:\\1.bmp", L"C:\\2.bmp", L"C:\\3.bmp", L"C:\\4.bmp", L"C:\\5.bmp"}, {1, 2, 3, 1, 2});
    SetSetting(L"ActiveGroup", L"1");
    SetSetting(L"ActiveFile", L"2");
    Start();
    ASSERT_EQ(main->FileList->Row(), 2);
    modal->DialogAnswers.push_back(mrYes);
    main->FileDeleteClick();
    EXPECT_EQ(modal->Dialogs.back(), L"選択された「C:\\2.bmp」を削除してよろしいですか？");
    EXPECT_EQ(Rows(),
              (std::vector<std::wstring>{L"(なし)", L"C:\\1.bmp", L"C:\\3.bmp", L"C:\\4.bmp", L"C:\\5.bmp"}));
    EXPECT_EQ(main->Library.FileView(2), 3);
    EXPECT_EQ(main->Library.FileView(3), 1);
    EXPECT_EQ(main->Library.FileView(4), 2);
    EXPECT_EQ(main->Library.FileView(5), 0);
    EXPECT_EQ(main->FileList->Row(), 0);
    EXPECT_EQ(main->Library.ActiveFile, 0);
    EXPECT_EQ(main->StatusBar1->SimpleText(), L"(なし)");
    const std::wstring view = GroupSection(L"g") + L"\\View";
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, view, L"File2"), L"3");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, view, L"File3"), L"1");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, view, L"File4"), L"2");
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, view), 4u) << "no stale value for the old last row";
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"g"), L"Count"), L"4");
}

TEST_F(Library, TheNoneRowCannotBeDeletedAndAnAnsweredNoKeepsTheFile) {
    std::wstring dir = testfiles::FreshFolder(L"tapestra-delete");
    SeedGroups({L"g"});
    SeedFiles(L"g", {testfiles::WriteBitmap(dir + L"\\1.bmp", 4, 4, RGB(1, 1, 1))});
    SetSetting(L"ActiveGroup", L"1");
    Start();
    main->FileDeleteClick();
    EXPECT_EQ(modal->Messages.back(), L"（なし）は削除出来ません。");
    main->FileList->SetRow(1);
    modal->DialogAnswers.push_back(mrCancel);
    main->FileDeleteClick();
    EXPECT_EQ(main->FileList->RowCount(), 2);
}

TEST_F(Library, ClickingRowZeroKeepsThePreviewAndAFileRowShowsIt) {
    std::wstring dir = testfiles::FreshFolder(L"tapestra-preview");
    std::wstring pic = testfiles::WriteBitmap(dir + L"\\blue.bmp", 40, 30, RGB(0, 0, 255));
    SeedGroups({L"g"});
    SeedFiles(L"g", {pic}, {2});
    SetSetting(L"ActiveGroup", L"1");
    Start();
    main->FileList->SetRow(1);
    EXPECT_EQ(main->StatusBar1->SimpleText(), pic);
    EXPECT_EQ(main->LoadPicture->PictureName(), pic);
    EXPECT_EQ(main->LoadPicture->Picture().Width(), 40);
    EXPECT_EQ(main->RadioGroup1->ItemIndex(), 2);
    main->FileList->SetRow(0);
    EXPECT_EQ(main->StatusBar1->SimpleText(), L"(なし)");
    EXPECT_EQ(main->LoadPicture->PictureName(), pic);
    EXPECT_FALSE(main->LoadPicture->Picture().Empty());
    EXPECT_EQ(main->RadioGroup1->ItemIndex(), 2);
}

TEST_F(Library, PanelsKeepTheirContentsFitted) {
    Start();
    main->pnlLeft->SetWidth(150);
    EXPECT_EQ(main->GroupTree->Width(), 142);
    EXPECT_EQ(main->GroupTree->Height(), main->pnlLeft->Height() - 8);
    main->pnlRight->SetAlign(TAlign::None);
    main->pnlRight->SetBounds(0, 0, 100, 120);
    EXPECT_EQ(main->FileList->Width(), 92);
    EXPECT_EQ(main->FileList->Height(), 112);
    main->pnlTop->SetAlign(TAlign::None);
    main->pnlTop->SetBounds(0, 0, 200, 100);
    // Narrower than its content: a negative offset, halved toward zero.
    EXPECT_EQ(main->pnlImage->Left(), -83);
    EXPECT_EQ(main->pnlImage->Top(), -13);
}
TEST_F(Library, ANamelessGroupNeverTouchesTheOtherGroupsKeys) {
    SeedGroups({L"a", L"", L"c"});
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (std::wstring(testreg::kProgram) + L"\\Group").c_str(), L"Group2");
    SeedFiles(L"a", {L"C:\\a.bmp"});
    SeedFiles(L"c", {L"C:\\c1.bmp", L"C:\\c2.bmp"});
    Start();
    ASSERT_EQ(main->GroupTree->NodeText(main->GroupTree->ItemAt(2)), L"");

    // Renamed, it gets a key of its own, empty.
    SelectGroup(2);
    modal->InputAnswers.push_back({true, L"b"});
    main->RenameClick();
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"b")));
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, GroupSection(L"b")), 0u);
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"b") + L"\\Files"));

    // Deleted while nameless, only its node and its name go.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (std::wstring(testreg::kProgram) + L"\\Group").c_str(), L"Group2");
    Restart();
    ASSERT_EQ(main->GroupTree->NodeText(main->GroupTree->ItemAt(2)), L"");
    SelectGroup(2);
    modal->DialogAnswers.push_back(mrYes);
    main->Delete1Click();
    EXPECT_EQ(main->GroupTree->Count(), 3);
    const std::wstring groups = std::wstring(testreg::kProgram) + L"\\Group";
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, groups, L"Count"), L"2");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, groups, L"Group2"), L"c");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"a") + L"\\Files", L"File1"), L"C:\\a.bmp");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"c") + L"\\Files", L"File2"),
              L"C:\\c2.bmp");
}
TEST_F(Library, TheFileCommandsOfANamelessGroupWriteNoOtherGroupsKey) {
    SeedGroups({L"Files", L"", L"View"});
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (std::wstring(testreg::kProgram) + L"\\Group").c_str(), L"Group2");
    SeedFiles(L"Files", {L"C:\\f.bmp"});
    SeedFiles(L"View", {L"C:\\v1.bmp", L"C:\\v2.bmp"}, {2, 3});
    Start();
    SelectGroup(2);
    // As the handlers run: through the window procedure's guard.
    Guarded([&] { main->FileDrop1FileDrop({L"C:\\n1.bmp", L"C:\\n2.bmp"}); });
    Guarded([&] { main->FileList->SetRow(1); }); // the file does not exist
    main->RadioGroup1->SetItemIndex(2);
    Guarded([&] { main->RadioGroup1Click(); });
    modal->DialogAnswers.push_back(mrYes);
    Guarded([&] { main->FileDeleteClick(); });
    const std::wstring noKey = L"ｷｰ FileList\\ の作成に失敗しました";
    EXPECT_EQ(std::count(modal->Errors.begin(), modal->Errors.end(), noKey), 3);
    const std::wstring fileList = std::wstring(testreg::kProgram) + L"\\FileList";
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, fileList), 0u);
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, GroupSection(L"Files")), 1u);
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, GroupSection(L"Files") + L"\\Files"), 1u);
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, GroupSection(L"View")), 1u);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"View") + L"\\View", L"File2"), L"3");
}
} // namespace
