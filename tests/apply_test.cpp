// Applying files as the wallpaper and the changes around it, in-process: the
// written BMP, the desktop values, the shell's wallpaper, the stored state.
#include "wallpaper/SafeFileWrite.h"
#include "framework/Exception.h"
#include "support/MainWindowFixture.h"
#include "support/Pump.h"
#include "support/Marks.h"
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <fstream>

namespace {
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

std::wstring ShellWallpaper() {
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

class Apply : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dir = testfiles::FreshFolder(L"tapestra apply");
        red = testfiles::WriteBitmap(dir + L"\\red.bmp", 40, 30, RGB(200, 0, 0), RGB(200, 0, 0));
        green = testfiles::WriteBitmap(dir + L"\\green.bmp", 50, 20, RGB(0, 200, 0), RGB(0, 200, 0));
        blue = testfiles::WriteBitmap(dir + L"\\blue.bmp", 100, 100, RGB(0, 0, 200), RGB(255, 0, 0));
        std::error_code ec;
        std::filesystem::remove(TTapestraMain::WallpaperBitmapPath(), ec);
    }
    std::wstring Files() { return Setting(L"files").value_or(L"?"); }
    testfiles::Bitmap Written() { return testfiles::ReadBitmap(TTapestraMain::WallpaperBitmapPath()); }

    std::wstring dir, red, green, blue;
};

TEST_F(Apply, TheBitmapPathIsTheProgramsWithBmp) {
    EXPECT_EQ(_wcsicmp(TTapestraMain::WallpaperBitmapPath().c_str(),
                       (ProgramDriver::BinDir() + L"test_apply.BMP").c_str()),
              0);
}

TEST_F(Apply, PreviousAndNextWrapAroundAndEachApplyWritesEverything) {
    TTapestraMain& m = StartWith({red, green, blue});
    m.cmdCenterClick();
    m.cmdAfterClick(); // from "(なし)" to the first
    EXPECT_EQ(m.FileList->Row(), 1);
    EXPECT_EQ(Files(), red);
    EXPECT_EQ(Written().width, 40);
    EXPECT_EQ(ShellWallpaper(), TTapestraMain::WallpaperBitmapPath());
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"), L"0");
    EXPECT_EQ(m.Library.ActiveGroup, 1);
    EXPECT_EQ(m.Library.ActiveFile, 1);
    m.cmdBeforClick(); // from the first to the last
    EXPECT_EQ(m.FileList->Row(), 3);
    EXPECT_EQ(Files(), blue);
    EXPECT_EQ(Written().width, 100);
    m.cmdAfterClick(); // from the last to the first
    EXPECT_EQ(m.FileList->Row(), 1);
    m.FileList->SetRow(0);
    m.cmdBeforClick(); // from "(なし)" to the last
    EXPECT_EQ(m.FileList->Row(), 3);
    EXPECT_EQ(m.StatusBar1->SimpleText(), blue);
}

TEST_F(Apply, AGroupWithOneFileAppliesItAgainAndAnEmptyGroupDoesNothing) {
    TTapestraMain& m = StartWith({green});
    m.cmdCenterClick(); // whatever an earlier test left the desktop showing
    m.cmdAfterClick();
    std::filesystem::remove(TTapestraMain::WallpaperBitmapPath());
    m.cmdAfterClick();
    EXPECT_EQ(m.FileList->Row(), 1);
    EXPECT_EQ(Written().width, 50);
    std::filesystem::remove(TTapestraMain::WallpaperBitmapPath());
    m.cmdBeforClick();
    EXPECT_EQ(Written().width, 50);
    std::filesystem::remove(TTapestraMain::WallpaperBitmapPath());
    m.cmdRandomClick();
    EXPECT_EQ(Written().width, 50);
    m.GroupTree->Select(m.GroupTree->Root());
    SetSetting(L"files", L"untouched");
    m.cmdAfterClick();
    m.cmdRandomClick();
    EXPECT_EQ(Files(), L"untouched");
}

TEST_F(Apply, RandomNeverRepeatsTheCurrentFileNorSelectsNone) {
    TTapestraMain& m = StartWith({red, green, blue});
    int previous = 0;
    for (int i = 0; i < 20; ++i) {
        m.cmdRandomClick();
        int row = m.FileList->Row();
        ASSERT_NE(row, previous);
        ASSERT_NE(row, 0);
        previous = row;
    }
}

TEST_F(Apply, ClearFromAFileRowRemovesTheWallpaperWithoutStartingTheProgram) {
    TTapestraMain& m = StartWith({red, green});
    std::wstring program = marks::Install(ProgramDriver::BinDir(), dir);
    m.Options.AutoRun = true;
    m.Options.AutoFile = program;
    m.cmdAfterClick();
    EXPECT_EQ(marks::Count(program, 1), 1);
    m.cmdNonClick();
    EXPECT_EQ(ShellWallpaper(), L"");
    EXPECT_EQ(Files(), L"(なし)");
    EXPECT_EQ(m.Library.ActiveFile, 0);
    EXPECT_EQ(m.FileList->Row(), 0);
    m.cmdAfterClick();
    EXPECT_EQ(marks::Count(program, 2), 2) << "one start per apply of a file, none for the clear";
    m.Exiting = true;
    m.cmdAfterClick();
    ASSERT_TRUE(marks::AllEnded());
    EXPECT_EQ(marks::Count(program), 2) << "no start while the program is ending";
}

TEST_F(Apply, TheWindowWidePositionOrTheFilesOwnDecidesTiling) {
    TTapestraMain& m = StartWith({red, green}, {0, 1});
    m.popTile->Click(); // 全体(&T) of the tray menu

    EXPECT_TRUE(m.cmdTile->Down());
    EXPECT_FALSE(m.cmdCenter->Down());
    EXPECT_TRUE(m.popTile->Checked());
    EXPECT_FALSE(m.popCenter->Checked());
    EXPECT_FALSE(std::filesystem::exists(TTapestraMain::WallpaperBitmapPath()))
        << "a position click applies nothing";
    m.FileList->SetRow(1);
    m.FileListDblClick();
    testfiles::Bitmap bmp = Written();
    EXPECT_EQ(bmp.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bmp.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"), L"1");
    EXPECT_TRUE(m.WallChanger1->Tiling);
    m.FileList->SetRow(2); // its own position: centred
    m.FileListDblClick();
    EXPECT_EQ(Written().width, 50);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"), L"0");
    m.cmdStretchClick();
    m.FileList->SetRow(1);
    m.FileListDblClick();
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle"), L"2");
    // Stretched is written at the screen's size, as the system would show it.
    EXPECT_EQ(Written().width, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(Apply, FillAndFitAreWindowWideChoicesThatComeBackWhileTheDesktopShowsThem) {
    TTapestraMain& m = StartWith({green}, {0});
    m.popFit->Click();
    EXPECT_TRUE(m.cmdFit->Down());
    EXPECT_FALSE(m.cmdCenter->Down());
    EXPECT_TRUE(m.popFit->Checked());
    m.FileList->SetRow(1);
    m.FileListDblClick();
    testfiles::Bitmap bmp = Written();
    ASSERT_EQ(bmp.width, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(bmp.height, GetSystemMetrics(SM_CYSCREEN));
    // 50x20 grown to the screen's width, centred on the desktop colour.
    EXPECT_EQ(bmp.Pixel(bmp.width / 2, bmp.height / 2), RGB(0, 200, 0));
    EXPECT_EQ(bmp.Pixel(bmp.width / 2, 0), GetSysColor(COLOR_BACKGROUND));
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"), L"1");
    m.cmdFillClick();
    m.SaveSettings();
    Restart();
    EXPECT_EQ(main->WindowPosition(), TDisplayPosition::Fill);
    EXPECT_TRUE(main->cmdFill->Down());
    // The desktop set otherwise since: the desktop's own values decide.
    main->SaveSettings();
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper", L"0");
    Restart();
    EXPECT_EQ(main->WindowPosition(), TDisplayPosition::Centred);
}

TEST_F(Apply, EachMonitorGetsAFileOfItsOwnAndAChangedDesktopIsComposedAgain) {
    TTapestraMain& m = StartWith({red, green, blue}, {1, 1, 1});
    std::vector<DesktopMonitor> monitors = {{{0, 0, 200, 100}, true}, {{200, 0, 300, 100}, false}};
    m.MonitorsNow = [&] { return monitors; };
    m.SpanShown = true;
    m.Options.MonitorMode = TMonitorMode::EachOwn;
    m.cmdAfterClick();
    testfiles::Bitmap bmp = Written();
    ASSERT_EQ(bmp.width, 300);
    ASSERT_EQ(bmp.height, 100);
    EXPECT_EQ(bmp.Pixel(100, 50), RGB(200, 0, 0)) << "the primary: the next file";
    EXPECT_EQ(bmp.Pixel(250, 50), RGB(0, 200, 0)) << "the other: the one after";
    EXPECT_EQ(bmp.Pixel(250, 5), GetSysColor(COLOR_BACKGROUND));
    EXPECT_EQ(Files(), red);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle"), L"22");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"), L"0");

    // A monitor taken away: once the desktop settles the same picture is
    // written for the one left, and nothing new is chosen.
    monitors.pop_back();
    PostMessageW(m.Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(200, 100));
    ASSERT_TRUE(PumpUntil([&] { return Written().width == 40; }, 5000));
    EXPECT_EQ(Written().height, 30);
    EXPECT_EQ(Files(), red);
    EXPECT_EQ(m.FileList->Row(), 1);
}

TEST_F(Apply, MovedTilesStartAtTheNormalisedOffset) {
    TTapestraMain& m = StartWith({blue}, {2});
    m.Options.Move = true;
    m.Options.XPos = 250;
    m.Options.YPos = 10;
    m.FileList->SetRow(1);
    m.FileListDblClick();
    testfiles::Bitmap bmp = Written();
    ASSERT_EQ(bmp.width, GetSystemMetrics(SM_CXSCREEN));
    // Tiles start at (-50, -90): their red corners fall on (50 + 100i, 10 + 100j).
    EXPECT_EQ(bmp.Pixel(50, 10), RGB(255, 0, 0));
    EXPECT_EQ(bmp.Pixel(150, 110), RGB(255, 0, 0));
    EXPECT_EQ(bmp.Pixel(0, 0), RGB(0, 0, 200));
    EXPECT_EQ(bmp.Pixel(51, 10), RGB(0, 0, 200));
}

TEST_F(Apply, CentredTilesPutOneTileInTheMiddle) {
    TTapestraMain& m = StartWith({blue}, {2});
    m.Options.CenterTiles = true;
    m.Options.Move = true;
    m.Options.XPos = 7;
    m.FileList->SetRow(1);
    m.FileListDblClick();
    testfiles::Bitmap bmp = Written();
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(bmp.Pixel((sw - 100) / 2, (sh - 100) / 2), RGB(255, 0, 0));
    EXPECT_EQ(bmp.Pixel((sw - 100) / 2 - 100, (sh - 100) / 2), RGB(255, 0, 0));
}

TEST_F(Apply, APictureThatDidNotLoadChangesNothing) {
    std::wstring broken = dir + L"\\broken.bmp";
    std::ofstream(std::filesystem::path(broken)) << "not a picture";
    TTapestraMain& m = StartWith({broken});
    SetSetting(L"files", L"before");
    m.FileList->SetRow(1);
    ASSERT_FALSE(modal->Messages.empty());
    EXPECT_EQ(modal->Messages.back(), L"未知のフォーマット [" + broken + L"]");
    m.FileListDblClick();
    EXPECT_FALSE(std::filesystem::exists(TTapestraMain::WallpaperBitmapPath()));
    EXPECT_EQ(Files(), L"before");
    EXPECT_EQ(m.Library.ActiveFile, 0);
}

TEST_F(Apply, ThePerFilePositionIsStoredForTheSelectedRow) {
    TTapestraMain& m = StartWith({red, green});
    m.FileList->SetRow(2);
    m.RadioGroup1->SetItemIndex(3);
    m.RadioGroup1Click();
    EXPECT_EQ(m.Library.FileView(2), 3);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, GroupSection(L"g") + L"\\View", L"File2"), L"3");
    EXPECT_FALSE(std::filesystem::exists(TTapestraMain::WallpaperBitmapPath()));
}

TEST_F(Apply, TheTimerFollowsTheChangeMethodAndEveryApplyRestartsIt) {
    TTapestraMain& m = StartWith({red, green, blue});
    m.Options.ChangeMethod = TChangeMethod::Next;
    m.Timer1Timer();
    EXPECT_EQ(m.FileList->Row(), 1);
    m.Options.ChangeMethod = TChangeMethod::Previous;
    m.Timer1Timer();
    EXPECT_EQ(m.FileList->Row(), 3);
    m.Options.ChangeMethod = static_cast<TChangeMethod>(7);
    m.Timer1Timer();
    EXPECT_EQ(m.FileList->Row(), 3);

    // A one-second timer; an apply at 0.7 s pushes the next tick to 1.7 s.
    int ticks = 0;
    m.Options.ChangeMethod = TChangeMethod::Next;
    m.Timer1->OnTimer = [&] { ++ticks; };
    m.Timer1->SetInterval(1000);
    m.Timer1->SetEnabled(true);
    PumpFor(700);
    m.cmdAfterClick();
    PumpFor(600);
    EXPECT_EQ(ticks, 0);
    PumpFor(900);
    EXPECT_EQ(ticks, 1);
}

TEST_F(Apply, TheEndOfTheSessionChangesOnceAndSavesWithoutStartingTheProgram) {
    SetSetting(L"終了", L"1");
    SetSetting(L"変更方法", L"2");
    SetSetting(L"ActiveFile", L"1");
    TTapestraMain& m = StartWith({red, green});
    std::wstring program = marks::Install(ProgramDriver::BinDir(), dir);
    m.Options.AutoRun = true;
    m.Options.AutoFile = program;
    EXPECT_EQ(SendMessageW(m.Handle(), WM_QUERYENDSESSION, 0, 0), 1);
    SendMessageW(m.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(m.FileList->Row(), 2);
    EXPECT_EQ(Files(), green);
    EXPECT_EQ(Setting(L"ActiveFile"), L"2");
    ASSERT_TRUE(marks::AllEnded());
    EXPECT_EQ(marks::Count(program), 0);
}

TEST_F(Apply, TheTraySwitchSuspendsAndResumesTheTimer) {
    SetSetting(L"時間変更", L"1");
    TTapestraMain& m = StartWith({red});
    EXPECT_TRUE(m.K6->Enabled());
    m.K6Click();
    EXPECT_TRUE(m.K6->Checked());
    EXPECT_FALSE(m.Timer1->Enabled());
    m.K6Click();
    EXPECT_FALSE(m.K6->Checked());
    EXPECT_TRUE(m.Timer1->Enabled());
    SetSetting(L"時間変更", L"0");
    Restart();
    EXPECT_FALSE(main->K6->Enabled());
}

TEST_F(Apply, TrayModeChoosesTheDoubleClickChange) {
    TTapestraMain& m = StartWith({red, green, blue});
    m.popNextClick();
    EXPECT_EQ(m.Options.TrayMode, TTrayMode::Next);
    EXPECT_TRUE(m.popNext->Checked());
    EXPECT_FALSE(m.popBefor->Checked());
    m.TrayIcon1DblClick();
    EXPECT_EQ(m.FileList->Row(), 1);
    EXPECT_EQ(Files(), red);
    m.popBeforClick();
    m.TrayIcon1DblClick();
    EXPECT_EQ(m.FileList->Row(), 3);
    m.Options.TrayMode = static_cast<TTrayMode>(9);
    m.TrayIcon1DblClick();
    EXPECT_EQ(m.FileList->Row(), 3);
}

TEST_F(Apply, OpenWithDoesNothingOnTheNoneRowAndHelpSaysWhenItsFileIsMissing) {
    TTapestraMain& m = StartWith({red});
    m.FileList->SetRow(0);
    m.ToolButton5Click();
    m.Contents1Click();
    ASSERT_FALSE(modal->Messages.empty());
    std::wstring help = TTapestraMain::WallpaperBitmapPath();
    help.replace(help.size() - 4, 4, L".hlp");
    EXPECT_EQ(modal->Messages.back(), L"ヘルプファイルが見つかりません。 [" + help + L"]");
}
TEST_F(Apply, NoTimerRunsWhileAStartUpBoxIsOpen) {
    std::wstring broken = dir + L"\\broken.bmp";
    std::ofstream(std::filesystem::path(broken)) << "not a picture";
    SeedGroups({L"g"});
    SeedFiles(L"g", {red, broken});
    SetSetting(L"ActiveGroup", L"1");
    SetSetting(L"files", broken);
    std::vector<bool> timerRunning;
    modal->OnShown = [&] {
        auto* form = dynamic_cast<TTapestraMain*>(app.MainForm());
        timerRunning.push_back(form && form->Timer1->Enabled());
    };
    TTapestraMain& m = Start();
    ASSERT_FALSE(timerRunning.empty());
    for (bool running : timerRunning)
        EXPECT_FALSE(running);
    EXPECT_FALSE(m.Timer1->Enabled());
    EXPECT_EQ(Files(), broken);
}

TEST_F(Apply, ADoubleClickAfterAGroupSwitchAppliesTheRowItRecords) {
    SeedGroups({L"g", L"h"});
    SeedFiles(L"g", {red});
    SeedFiles(L"h", {green}, {3});
    SetSetting(L"ActiveGroup", L"1");
    TTapestraMain& m = Start();
    m.cmdCenterClick();
    m.FileList->SetRow(1);
    ASSERT_EQ(m.LoadPicture->PictureName(), red);
    // The highlighted row stays where it is: no selection change, no click.
    m.GroupTree->Select(m.GroupTree->ItemAt(2));
    ASSERT_EQ(m.FileList->Row(), 1);
    m.FileListDblClick();
    EXPECT_EQ(Files(), green);
    EXPECT_EQ(Written().width, GetSystemMetrics(SM_CXSCREEN)) << "stretched: at the screen's size";
    EXPECT_EQ(m.Library.ActiveGroup, 2);
    EXPECT_EQ(m.Library.ActiveFile, 1);
    EXPECT_EQ(m.RadioGroup1->ItemIndex(), 3);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle"), L"2");
}
TEST_F(Apply, AFailedWriteLeavesTheOldFileAndNoTemporaryOne) {
    const std::wstring path = dir + L"\\wall.bmp";
    auto content = [](const std::wstring& file) {
        std::ifstream in{std::filesystem::path(file), std::ios::binary};
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto put = [](const std::wstring& file, const char* text) {
        std::ofstream(std::filesystem::path(file), std::ios::binary) << text;
    };
    put(path, "old picture");
    EXPECT_THROW(WriteReplacing(path,
                                [&](const std::wstring& temporary) {
                                    put(temporary, "half a pic");
                                    throw Exception(L"ディスクがいっぱいです");
                                }),
                 Exception);
    EXPECT_EQ(content(path), "old picture");
    WriteReplacing(path, [&](const std::wstring& temporary) { put(temporary, "new picture"); });
    EXPECT_EQ(content(path), "new picture");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(dir)))
        ++files;
    EXPECT_EQ(files, 4u) << "three pictures and the written file, nothing left over";
}

TEST_F(Apply, AFolderThatTakesNoNewFileIsReportedUnderTheTargetsName) {
    const std::wstring path = dir + L"\\wall.bmp";
    // A directory where the temporary file would go: it cannot be created.
    std::filesystem::create_directory(std::filesystem::path(path + L".tmp"));
    bool written = false;
    try {
        WriteReplacing(path, [&](const std::wstring&) { written = true; });
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, L"ファイル " + path + L" を作成できません");
    }
    EXPECT_FALSE(written);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(Apply, TheWallpaperIsWrittenBesideAndMovedIntoPlace) {
    TTapestraMain& m = StartWith({red, blue});
    m.cmdTileClick();
    m.cmdAfterClick();
    m.cmdAfterClick();
    EXPECT_EQ(Written().width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_FALSE(std::filesystem::exists(TTapestraMain::WallpaperBitmapPath() + L".tmp"));
    EXPECT_EQ(ShellWallpaper(), TTapestraMain::WallpaperBitmapPath());
}
} // namespace
