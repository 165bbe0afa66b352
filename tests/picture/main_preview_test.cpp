// The main window with the fake plug-in: how often a change loads its picture
// and how many boxes a picture that fails shows.
#include "FakeSpiSession.h"
#include "support/MainWindowFixture.h"

namespace {
class MainPreview : public MainWindowFixture, protected FakeSpiSession {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(OpenScript());
        Install(L"ifgif.spi");
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        RemovePlugins();
    }
    TTapestraMain& StartWith(const std::vector<std::wstring>& files) {
        SeedGroups({L"g"});
        SeedFiles(L"g", files);
        SetSetting(L"ActiveGroup", L"1");
        TTapestraMain& m = Start();
        script->CallCount = 0;
        modal->Messages.clear();
        return m;
    }
};

struct ChangeCase {
    const char* name;
    void (TTapestraMain::*change)();
    int result; // of GetPicture
    size_t boxes;
};

TEST_F(MainPreview, EveryChangeLoadsItsPictureOnceAndShowsAtMostOneBox) {
    const ChangeCase cases[] = {
        {"next", &TTapestraMain::cmdAfterClick, 0, 0},
        {"previous", &TTapestraMain::cmdBeforClick, 0, 0},
        {"random", &TTapestraMain::cmdRandomClick, 0, 0},
        {"timer", &TTapestraMain::Timer1Timer, 0, 0},
        {"next, broken", &TTapestraMain::cmdAfterClick, 3, 1},
        {"random, broken", &TTapestraMain::cmdRandomClick, 3, 1},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTapestraMain& m = StartWith({L"C:\\WALL\\A.GIF", L"C:\\WALL\\B.GIF", L"C:\\WALL\\C.GIF"});
        m.Options.ChangeMethod = TChangeMethod::Next;
        script->Results[fakespi::kPicture][0] = c.result;
        (m.*c.change)();
        EXPECT_EQ(CallsOf(fakespi::kPicture), 1);
        EXPECT_EQ(modal->Messages.size(), c.boxes);
        owner.reset();
    }
}

TEST_F(MainPreview, AGroupOfOneFileLoadsItOncePerChange) {
    TTapestraMain& m = StartWith({L"C:\\WALL\\A.GIF"});
    m.cmdAfterClick();
    m.cmdAfterClick();
    EXPECT_EQ(CallsOf(fakespi::kPicture), 2);
}

TEST_F(MainPreview, AStartRowThatFailsIsReportedOnce) {
    SeedGroups({L"g"});
    SeedFiles(L"g", {L"C:\\WALL\\A.GIF", L"C:\\WALL\\B.GIF"});
    SetSetting(L"ActiveGroup", L"1");
    SetSetting(L"files", L"C:\\WALL\\B.GIF");
    script->Results[fakespi::kPicture][0] = 3;
    Start();
    EXPECT_EQ(CallsOf(fakespi::kPicture), 1);
    EXPECT_EQ(modal->Messages.size(), 1u);
}
} // namespace
