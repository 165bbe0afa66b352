// The commands that also come from outside the window, in-process: one path
// for all of them, the pause, the wait for a full-screen program and random
// changes without repeats.
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <set>

namespace {
class Commands : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dir = testfiles::FreshFolder(L"tapestra commands");
        for (int i = 0; i < 4; ++i)
            files.push_back(testfiles::WriteBitmap(dir + L"\\" + std::to_wstring(i) + L".bmp", 8 + i, 8,
                                                   RGB(i * 50, 0, 0), RGB(i * 50, 0, 0)));
    }
    std::wstring Applied() { return Setting(L"files").value_or(L""); }

    std::wstring dir;
    std::vector<std::wstring> files;
};

TEST_F(Commands, EveryCommandRunsWhatItsMenuItemRuns) {
    TTapestraMain& m = StartWith(files);
    m.RandomRow = [](int lowest, int) { return lowest; };
    struct Case {
        TProgramCommand command;
        std::function<bool()> done;
    } cases[] = {
        {TProgramCommand::Next, [&] { return Applied() == files[0]; }},
        {TProgramCommand::Next, [&] { return Applied() == files[1]; }},
        {TProgramCommand::Previous, [&] { return Applied() == files[0]; }},
        {TProgramCommand::Random, [&] { return Applied() == files[1]; }},
        {TProgramCommand::Clear, [&] { return Applied() == L"(なし)" && m.FileList->Row() == 0; }},
        {TProgramCommand::Pause, [&] { return m.Options.Paused && m.Pause1->Checked(); }},
        {TProgramCommand::Resume, [&] { return !m.Options.Paused && !m.popPause->Checked(); }},
        {TProgramCommand::Show, [&] { return m.Visible(); }},
        {TProgramCommand::Exit, [&] { return m.Exiting; }},
    };
    m.ToolButton1Click();
    ASSERT_FALSE(m.Visible());
    for (const Case& c : cases) {
        m.RunCommand(c.command);
        EXPECT_TRUE(c.done()) << CommandLabel(c.command);
    }
}

TEST_F(Commands, APauseStopsTheTimedChangesNotTheUsersAndOutlivesARestart) {
    SetSetting(L"終了", L"1");
    SetSetting(L"変更方法", L"2");
    TTapestraMain& m = StartWith(files);
    m.Pause1Click();
    EXPECT_EQ(Setting(L"Pause"), L"1");
    EXPECT_EQ(m.TrayIcon1->TipHelp(), L"Vintrel For Win95 (一時停止中)");
    m.Timer1Timer();
    SendMessageW(m.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(Applied(), L"") << "neither the timer nor the end of the session changed";
    m.cmdAfterClick();
    EXPECT_EQ(Applied(), files[0]) << "the user's change";

    Restart();
    EXPECT_TRUE(main->Options.Paused);
    EXPECT_TRUE(main->Pause1->Checked());
    EXPECT_TRUE(main->popPause->Checked());
    main->Pause1Click();
    EXPECT_EQ(main->TrayIcon1->TipHelp(), L"Vintrel For Win95");
    main->Timer1Timer();
    EXPECT_EQ(Applied(), files[1]);
}

TEST_F(Commands, ATimedChangeWaitsWhileAnotherProgramFillsTheScreen) {
    TTapestraMain& m = StartWith(files);
    m.Options.FullScreenWait = true;
    m.Options.ChangeMethod = TChangeMethod::Next;
    bool fullScreen = true;
    m.FullScreenAhead = [&] { return fullScreen; };
    m.Timer1Timer();
    EXPECT_EQ(Applied(), L"");
    ASSERT_TRUE(m.FullScreenTimer->Enabled());
    m.FullScreenTimer->SetInterval(USER_TIMER_MINIMUM);
    m.Timer1Timer();
    PumpFor(100);
    EXPECT_EQ(Applied(), L"") << "still in front";
    fullScreen = false;
    ASSERT_TRUE(PumpUntil([&] { return Applied() == files[0]; }, 5000));
    EXPECT_FALSE(m.FullScreenTimer->Enabled());
    PumpFor(100);
    EXPECT_EQ(Applied(), files[0]) << "one change for the ticks that waited";

    // Without the option the full screen is not asked.
    m.Options.FullScreenWait = false;
    fullScreen = true;
    m.Timer1Timer();
    EXPECT_EQ(Applied(), files[1]);
}

TEST_F(Commands, RandomWithoutRepeatsShowsEveryFileOnceARoundAcrossARestart) {
    SetSetting(L"NoRepeat", L"1");
    TTapestraMain& m = StartWith(files);
    std::mt19937 draws(7);
    auto draw = [&](int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(draws); };
    m.RandomRow = draw;
    std::vector<std::wstring> shown;
    for (int i = 0; i < 2; ++i) {
        m.cmdRandomClick();
        shown.push_back(Applied());
    }
    Restart();
    main->RandomRow = draw;
    for (int i = 0; i < 2; ++i) {
        main->cmdRandomClick();
        shown.push_back(Applied());
    }
    EXPECT_EQ(std::set<std::wstring>(shown.begin(), shown.end()).size(), files.size());
    main->cmdRandomClick();
    EXPECT_NE(Applied(), shown.back()) << "no repeat where the next round begins";
}
} // namespace
