// The settings and library store, and the start-up that reads it, in-process.
#include "app/WindowGeometry.h"
#include "support/MainWindowFixture.h"

#include "framework/Text.h"

namespace {
using Store = MainWindowFixture;

TEST_F(Store, AnEmptyRegistryStartsOnDefaultsWithTheRootAlone) {
    TTapestraMain& m = Start();
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, testreg::kProgram));
    EXPECT_FALSE(m.Options.CenterTiles);
    EXPECT_FALSE(m.Options.ChangeAtShutdown);
    EXPECT_EQ(m.Options.TrayMode, TTrayMode::Previous);
    EXPECT_FALSE(m.Options.StartHidden);
    EXPECT_EQ(m.Options.IntervalMinutes, 10);
    EXPECT_FALSE(m.Options.TimedChange);
    EXPECT_EQ(m.Options.ChangeMethod, TChangeMethod::Previous);
    EXPECT_TRUE(m.Options.ClearIcon);
    EXPECT_FALSE(m.Options.Move);
    EXPECT_FALSE(m.Options.AutoRun);
    EXPECT_EQ(m.Library.ActiveGroup, -1);
    EXPECT_EQ(m.Library.ActiveFile, 0);
    EXPECT_EQ(m.Width(), 550);
    EXPECT_EQ(m.Height(), 400);
    EXPECT_EQ(m.Left(), (GetSystemMetrics(SM_CXSCREEN) - 550) / 2);
    EXPECT_EQ(m.Top(), (GetSystemMetrics(SM_CYSCREEN) - 400) / 2);
    EXPECT_EQ(m.pnlTop->Height(), 150);
    EXPECT_EQ(m.pnlLeft->Width(), 211);
    EXPECT_EQ(m.GroupTree->Count(), 1);
    EXPECT_EQ(m.GroupTree->NodeText(m.GroupTree->Root()), L"壁紙グループ");
    EXPECT_EQ(m.GroupTree->Selected(), nullptr);
    EXPECT_EQ(m.FileList->RowCount(), 1);
    EXPECT_EQ(m.FileList->Cell(0), L"(なし)");
    EXPECT_FALSE(m.Timer1->Enabled());
    EXPECT_TRUE(m.Visible());
    EXPECT_TRUE(modal->Messages.empty());
    EXPECT_TRUE(modal->Errors.empty());
}

TEST_F(Store, IntervalTextsReadAsHexDecimalOrDefault) {
    struct Case {
        const wchar_t* text;
        int minutes;
    } cases[] = {{L"0x1E", 30}, {L"abc", 10}, {L"", 10}, {L"25", 25}};
    for (const auto& c : cases) {
        SetSetting(L"時間", c.text);
        Restart();
        EXPECT_EQ(main->Options.IntervalMinutes, c.minutes) << WideToUtf8(c.text);
    }
    SetSetting(L"Move", L"2");
    Restart();
    EXPECT_TRUE(main->Options.Move);
}

TEST_F(Store, AValueOfTheWrongTypeIsReportedAndStartUpCompletes) {
    testreg::SetDword(HKEY_CURRENT_USER, Settings(), L"時間", 30);
    SetSetting(L"変更方法", L"3");
    SeedGroups({L"風景"});
    SetSetting(L"ActiveGroup", L"1");
    TTapestraMain& m = Start();
    ASSERT_EQ(modal->Errors.size(), 1u);
    EXPECT_EQ(modal->Errors[0], L"'時間' のﾃﾞｰﾀ型が不正です");
    EXPECT_EQ(m.Options.IntervalMinutes, 10);
    EXPECT_EQ(m.Options.ChangeMethod, TChangeMethod::Random);
    EXPECT_EQ(m.GroupTree->Count(), 2);
    EXPECT_TRUE(m.Visible());
}

TEST_F(Store, TheTimerIsClampedToWhatMillisecondsCanHold) {
    SetSetting(L"時間変更", L"1");
    SetSetting(L"時間", L"99999");
    Start();
    EXPECT_TRUE(main->Timer1->Enabled());
    EXPECT_EQ(main->Timer1->Interval(), 35791u * 60000u);
    SetSetting(L"時間", L"-4");
    Restart();
    EXPECT_EQ(main->Timer1->Interval(), 0u);
    EXPECT_TRUE(main->Timer1->Enabled());
    SetSetting(L"時間", L"3");
    Restart();
    EXPECT_EQ(main->Timer1->Interval(), 180000u);
}

TEST_F(Store, SavingAShorterGroupListLeavesNoStaleNames) {
    SeedGroups({L"a", L"b", L"c", L"d", L"e"});
    TTapestraMain& m = Start();
    HTREEITEM root = m.GroupTree->Root();
    for (int i = 0; i < 3; ++i) {
        m.GroupTree->Select(m.GroupTree->ItemAt(3));
        modal->DialogAnswers.push_back(mrYes);
        m.Delete1Click();
    }
    std::wstring section = std::wstring(testreg::kProgram) + L"\\Group";
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, section), 3u);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, section, L"Count"), L"2");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, section, L"Group1"), L"a");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, section, L"Group2"), L"b");
    EXPECT_EQ(m.GroupTree->ChildCount(root), 2);
}

TEST_F(Store, SavingAShorterFileListKeepsTheViewValues) {
    SeedGroups({L"写真"});
    SeedFiles(
        L"写真",
        {L"C:\\1.bmp", L"C:\\2.bmp", L"C:\\3.bmp", L"C:\\4.bmp", L"C:\\5.bmp", L"C:\\6.bmp", L"C:\\7.bmp"},
        {1, 2, 3, 0, 1, 2, 3});
    SetSetting(L"ActiveGroup", L"1");
    TTapestraMain& m = Start();
    ASSERT_EQ(m.FileList->RowCount(), 8);
    EXPECT_EQ(m.Library.FileView(3), 3);
    m.Store.SaveFileList(L"写真", {L"C:\\1.bmp", L"C:\\2.bmp", L"C:\\3.bmp"});
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"写真"), L"Count"), L"3");
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, GroupSection(L"写真") + L"\\Files"), 3u);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"写真") + L"\\Files", L"File3"),
              L"C:\\3.bmp");
    EXPECT_EQ(testreg::ValueCount(HKEY_CURRENT_USER, GroupSection(L"写真") + L"\\View"), 7u);
}

TEST_F(Store, AGroupWithoutViewValuesHasPositionZeroEverywhere) {
    SeedGroups({L"plain"});
    SeedFiles(L"plain", {L"C:\\a.bmp", L"C:\\b.bmp"});
    SetSetting(L"ActiveGroup", L"1");
    TTapestraMain& m = Start();
    EXPECT_EQ(m.FileList->RowCount(), 3);
    EXPECT_EQ(m.Library.FileView(1), 0);
    EXPECT_EQ(m.Library.FileView(2), 0);
}

TEST_F(Store, JapaneseGroupNamesAreSubkeyNames) {
    TTapestraMain& m = Start();
    modal->InputAnswers.push_back({true, L"壁紙の山"});
    m.AddGroupClick();
    m.FileDrop1FileDrop({L"C:\\写真\\富士山.bmp"});
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, GroupSection(L"壁紙の山") + L"\\Files"));
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"壁紙の山") + L"\\Files", L"File1"),
              L"C:\\写真\\富士山.bmp");
}

TEST_F(Store, AGroupOfMoreThanTwoHundredFilesLoadsWhole) {
    std::vector<std::wstring> files;
    std::vector<int> views;
    for (int i = 1; i <= 250; ++i) {
        files.push_back(L"C:\\pics\\" + std::to_wstring(i) + L".bmp");
        views.push_back(i % 4);
    }
    SeedGroups({L"big"});
    SeedFiles(L"big", files, views);
    SetSetting(L"ActiveGroup", L"1");
    SetSetting(L"ActiveFile", L"240");
    TTapestraMain& m = Start();
    EXPECT_EQ(m.FileList->RowCount(), 251);
    EXPECT_EQ(m.FileList->Cell(250), L"C:\\pics\\250.bmp");
    EXPECT_EQ(m.Library.FileView(250), 2);
    EXPECT_EQ(m.FileList->Row(), 240);
}

TEST_F(Store, LoadingASmallerGroupResetsThePositionsAboveIt) {
    SeedGroups({L"many", L"few"});
    SeedFiles(L"many", {L"C:\\1.bmp", L"C:\\2.bmp", L"C:\\3.bmp"}, {3, 3, 3});
    SeedFiles(L"few", {L"C:\\x.bmp"});
    SetSetting(L"ActiveGroup", L"1");
    TTapestraMain& m = Start();
    EXPECT_EQ(m.Library.FileView(3), 3);
    m.GroupTree->Select(m.GroupTree->ItemAt(2));
    EXPECT_EQ(m.FileList->RowCount(), 2);
    EXPECT_EQ(m.Library.FileView(2), 0);
    EXPECT_EQ(m.Library.FileView(3), 0);
}

TEST_F(Store, StoredSelectionsThatNameNothingSelectNothingOrRowZero) {
    SeedGroups({L"one"});
    SeedFiles(L"one", {L"C:\\a.bmp"});
    SetSetting(L"ActiveGroup", L"7");
    SetSetting(L"ActiveFile", L"9");
    TTapestraMain& m = Start();
    EXPECT_EQ(m.GroupTree->Selected(), nullptr);
    EXPECT_EQ(m.FileList->Row(), 0);
    SetSetting(L"ActiveGroup", L"1");
    SetSetting(L"ActiveFile", L"-3");
    Restart();
    EXPECT_EQ(main->FileList->RowCount(), 2);
    EXPECT_EQ(main->FileList->Row(), 0);
}

TEST_F(Store, TheLastRowMatchingTheAppliedFileIsSelected) {
    SeedGroups({L"g"});
    SeedFiles(L"g", {L"C:\\a.bmp", L"C:\\dup.bmp", L"C:\\b.bmp", L"C:\\c.bmp", L"C:\\dup.bmp"});
    SetSetting(L"ActiveGroup", L"1");
    SetSetting(L"ActiveFile", L"0");
    SetSetting(L"files", L"C:\\dup.bmp");
    TTapestraMain& m = Start();
    EXPECT_EQ(m.FileList->Row(), 5);
    EXPECT_EQ(m.StatusBar1->SimpleText(), L"C:\\dup.bmp");
    SetSetting(L"files", L"C:\\DUP.bmp");
    Restart();
    EXPECT_EQ(main->FileList->Row(), 0);
}

TEST_F(Store, SaveSettingsWritesTheWindowStateAndTheOptionsItOwns) {
    TTapestraMain& m = Start();
    m.SetBounds(40, 30, 600, 450);
    m.Options.TrayMode = TTrayMode::Random;
    m.Library.ActiveGroup = 0;
    m.Library.ActiveFile = 3;
    m.Options.AutoRun = true;
    m.Options.AutoFile = L"C:\\Program Files\\mark.exe";
    m.SaveSettings();
    EXPECT_EQ(Setting(L"モード"), L"2");
    EXPECT_EQ(Setting(L"Left"), L"40");
    EXPECT_EQ(Setting(L"Top"), L"30");
    EXPECT_EQ(Setting(L"Width"), L"600");
    EXPECT_EQ(Setting(L"Height"), L"450");
    EXPECT_EQ(Setting(L"pnlHeight"), L"150");
    EXPECT_EQ(Setting(L"pnlWidth"), L"211");
    EXPECT_EQ(Setting(L"ActiveGroup"), L"0");
    EXPECT_EQ(Setting(L"ActiveFile"), L"3");
    EXPECT_EQ(Setting(L"自動実行"), L"1");
    EXPECT_EQ(Setting(L"自動File"), L"C:\\Program Files\\mark.exe");
    EXPECT_FALSE(Setting(L"時間").has_value());
    Restart();
    EXPECT_EQ(main->Left(), 40);
    EXPECT_EQ(main->Width(), 600);
    EXPECT_TRUE(main->Options.AutoRun);
}

TEST_F(Store, StartHiddenOnlyForOne) {
    SetSetting(L"起動設定", L"1");
    Start();
    EXPECT_FALSE(main->Visible());
    EXPECT_FALSE(IsWindowVisible(app.Handle()));
    SetSetting(L"起動設定", L"2");
    Restart();
    EXPECT_TRUE(main->Visible());
}

TEST_F(Store, TheCloseBoxHidesUntilTheProgramIsExiting) {
    TTapestraMain& m = Start();
    SendMessageW(m.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(m.Visible());
    EXPECT_FALSE(app.Terminated());
    EXPECT_FALSE(Setting(L"Width").has_value());
    EXPECT_EQ(SendMessageW(m.Handle(), WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_TRUE(m.Exiting);
    SendMessageW(m.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(Setting(L"Width"), L"550");
    SendMessageW(m.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.Terminated());
}
TEST_F(Store, AWrongTypedFileOrViewShowsOnlyTheSelectedGroupsRows) {
    SeedGroups({L"old", L"new"});
    SeedFiles(L"old", {L"C:\\o1.bmp", L"C:\\o2.bmp", L"C:\\o3.bmp"});
    SetSetting(L"ActiveGroup", L"1");
    struct Case {
        const wchar_t* subkey;
        std::vector<std::wstring> rows;
        int view1;
    } cases[] = {{L"Files", {L"(なし)", L"", L"C:\\n2.bmp"}, 1},
                 {L"View", {L"(なし)", L"C:\\n1.bmp", L"C:\\n2.bmp"}, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.subkey)));
        testreg::DeleteTree(HKEY_CURRENT_USER, GroupSection(L"new"));
        SeedFiles(L"new", {L"C:\\n1.bmp", L"C:\\n2.bmp"}, {1});
        testreg::SetDword(HKEY_CURRENT_USER, GroupSection(L"new") + L"\\" + c.subkey, L"File1", 7);
        TTapestraMain& m = Start();
        modal->Errors.clear();
        m.GroupTree->Select(m.GroupTree->ItemAt(2));
        ASSERT_EQ(modal->Errors.size(), 1u);
        EXPECT_EQ(modal->Errors[0], L"'File1' のﾃﾞｰﾀ型が不正です");
        std::vector<std::wstring> rows;
        for (int i = 0; i < m.FileList->RowCount(); ++i)
            rows.push_back(m.FileList->Cell(i));
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(m.Library.FileView(1), c.view1);
        // A later write goes to the selected group only.
        modal->FileAnswers.push_back({L"C:\\added.bmp"});
        m.AddFilesClick();
        const std::wstring oldFiles = GroupSection(L"old") + L"\\Files",
                           newFiles = GroupSection(L"new") + L"\\Files";
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"old"), L"Count"), L"3");
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, oldFiles, L"File3"), L"C:\\o3.bmp");
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, newFiles, L"File2"), L"C:\\n2.bmp");
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, newFiles, L"File3"), L"C:\\added.bmp");
        owner.reset();
    }
}

TEST_F(Store, ExitEndsEvenWhenTheSettingsCannotBeWritten) {
    TTapestraMain& m = Start();
    // A volatile program key takes no lasting subkey: every settings write fails.
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, testreg::kProgram, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    // As the menu runs it: through the window procedure's guard.
    Guarded([&] { m.Exit1Click(); });
    ASSERT_EQ(modal->Errors.size(), 1u);
    EXPECT_EQ(modal->Errors[0], L"ｷｰ 動作環境 の作成に失敗しました");
    EXPECT_TRUE(app.Terminated());
    EXPECT_FALSE(m.Visible());
}
TEST(WindowGeometry, TheNormalRectangleIsMovedByTheWorkAreaOfItsMonitor) {
    struct Case {
        const char* name;
        RECT work, monitor, expected;
    } cases[] = {
        {"task bar at the bottom", {0, 0, 1024, 738}, {0, 0, 1024, 768}, {150, 200, 700, 600}},
        {"task bar at the top", {0, 40, 1024, 768}, {0, 0, 1024, 768}, {150, 240, 700, 640}},
        {"task bar at the left", {60, 0, 1024, 768}, {0, 0, 1024, 768}, {210, 200, 760, 600}},
        {"second monitor, task bar at its top",
         {1024, 30, 2048, 768},
         {1024, 0, 2048, 768},
         {150, 230, 700, 630}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT r = WorkspaceToScreen(RECT{150, 200, 700, 600}, c.work, c.monitor);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

// Wine keeps the monitor's work area at the screen when SPI_SETWORKAREA moves
// it, and its placement follows the monitor: the position must come back all
// the same.
TEST_F(Store, TheWindowComesBackWhereItWasWithTheTaskBarAtTheTopLeft) {
    RECT screen{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    // A task bar at the top (and one at the left) moves the work area.
    RECT work{screen.left + 30, screen.top + 40, screen.right, screen.bottom};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
    SetSetting(L"Top", L"200");
    SetSetting(L"Left", L"150");
    for (int start = 0; start < 3; ++start) {
        SCOPED_TRACE(start);
        TTapestraMain& m = Start();
        RECT r{};
        GetWindowRect(m.Handle(), &r);
        EXPECT_EQ(r.top, 200);
        EXPECT_EQ(r.left, 150);
        SendMessageW(m.Handle(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(Setting(L"Top"), L"200");
        EXPECT_EQ(Setting(L"Left"), L"150");
        owner.reset();
    }
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &screen, 0);
}
} // namespace
