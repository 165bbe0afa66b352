// Many applies in one process: every display position, every kind of picture,
// previous, next, random and clear, then the interval timer at its smallest
// interval. The working set must stay flat and every handle the framework's
// owners took must be given back.
//
// TAPESTRA_SOAK_APPLIES (default 300) and TAPESTRA_SOAK_TIMER (default 100)
// set the lengths; the long run is documented in docs/status.md.
#include "../picture/SamplePictures.h"
#include "framework/Text.h"
#include "plugins/PluginCases.h"
#include "support/MainWindowFixture.h"
#include "support/ProcessFigures.h"
#include "support/TestFiles.h"
#include "wallpaper/PictureRules.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Growth allowed after the warm-up: caches and heaps have settled by then.
constexpr size_t kFlatBytes = 1u << 20;
constexpr unsigned kWarmUpApplies = 200;

// What the process holds at one moment.
struct Holdings {
    size_t workingSet = figures::WorkingSet();
    long live = LiveHandleCount();
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
};

class Soak : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dir = testfiles::FreshFolder(L"tapestra soak");
        auto write = [this](const std::wstring& name, const std::vector<uint8_t>& bytes) {
            const std::wstring path = dir + L"\\" + name;
            pictest::WriteBytes(path, bytes);
            files.push_back(path);
        };
        files.push_back(testfiles::WriteBitmap(dir + L"\\plain.bmp", 120, 90, RGB(30, 90, 150)));
        write(L"photo.jpg", testimg::EncodeRgb(GUID_ContainerFormatJpeg, 160, 120, testimg::Gradient));
        write(L"palette.gif", testimg::EncodeIndexed(GUID_ContainerFormatGif, 64, 48, kGifColours, GifIndex));
        write(L"icon.ico", pictest::IconFile());
        // PNG where the component routes it to its plug-in.
        if (PictureKindOf(L"x.png"))
            write(L"picture.png", testimg::EncodeRgb(GUID_ContainerFormatPng, 80, 60, testimg::Pattern));
        SeedGroups({L"soak"});
        SeedFiles(L"soak", files);
        SetSetting(L"ActiveGroup", L"1");
    }

    // The same picture loaded and no wallpaper applied: what is held then
    // can be compared between two moments.
    Holdings Settle(TTapestraMain& m) {
        m.FileList->SetRow(1);
        m.FileListClick();
        return Holdings{};
    }

    void ExpectGivenBack(const Holdings& before, const Holdings& after, const char* run) {
        std::printf(
            "%s: working set %zu KB after the warm-up, %zu KB at the end; %ld live handles, then %ld\n", run,
            before.workingSet / 1024, after.workingSet / 1024, before.live, after.live);
        EXPECT_LT(after.workingSet, before.workingSet + kFlatBytes) << run << ": the working set grows";
        EXPECT_EQ(after.live, before.live) << run << ": owned handles are not given back";
        // Wine reports no GDI or USER objects; Windows does.
        if (before.gdi) {
            EXPECT_EQ(after.gdi, before.gdi) << run;
        }
        if (before.user) {
            EXPECT_EQ(after.user, before.user) << run;
        }
        EXPECT_TRUE(modal->Messages.empty()) << run << ": " << WideToUtf8(modal->Messages.front());
    }

    std::wstring dir;
    std::vector<std::wstring> files;
};

} // namespace

TEST_F(Soak, ManyAppliesKeepMemoryAndHandlesFlat) {
    const unsigned applies = std::max(figures::EnvNumber("TAPESTRA_SOAK_APPLIES", 300), kWarmUpApplies + 1);
    TTapestraMain& m = Start();
    unsigned next = 0;
    m.RandomRow = [&next](int lowest, int highest) {
        return lowest + static_cast<int>(next++ % (highest - lowest + 1));
    };
    Holdings warm;
    for (unsigned i = 0; i < applies; ++i) {
        if (i == kWarmUpApplies) warm = Settle(m);
        switch (i % 3) {
        case 0:
            m.cmdCenterClick();
            break;
        case 1:
            m.cmdTileClick();
            break;
        default:
            m.cmdStretchClick();
            break;
        }
        switch (i / 3 % 4) {
        case 0:
            m.cmdBeforClick();
            break;
        case 1:
            m.cmdAfterClick();
            break;
        case 2:
            m.cmdRandomClick();
            break;
        default:
            m.cmdNonClick();
            break;
        }
        ASSERT_TRUE(modal->Messages.empty()) << "apply " << i << ": " << WideToUtf8(modal->Messages.front());
    }
    // The last change was applied to the desktop.
    EXPECT_NE(Setting(L"files"), std::nullopt);
    ExpectGivenBack(warm, Settle(m), "soak");
}

TEST_F(Soak, TimerDrivenChangesAtTheSmallestInterval) {
    const unsigned changes = figures::EnvNumber("TAPESTRA_SOAK_TIMER", 100);
    TTapestraMain& m = Start();
    m.cmdTileClick();
    m.Options.ChangeMethod = TChangeMethod::Next;
    unsigned fired = 0;
    auto change = m.Timer1->OnTimer;
    m.Timer1->OnTimer = [&] {
        ++fired;
        change();
    };
    m.Timer1->SetInterval(USER_TIMER_MINIMUM);
    m.Timer1->SetEnabled(true);
    // Pump the timer's messages until it has fired often enough; the limit
    // only ends a run whose timer has stopped.
    Holdings warm;
    bool warmed = false;
    const unsigned warmUp = changes / 5;
    const ULONGLONG giveUp = GetTickCount64() + 60000 + 200ull * changes;
    MSG msg;
    while (fired < changes && GetTickCount64() < giveUp) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        while (fired < changes && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (fired == warmUp && !warmed) {
                m.Timer1->SetEnabled(false);
                warm = Settle(m);
                warmed = true;
                m.Timer1->SetEnabled(true);
            }
        }
    }
    m.Timer1->SetEnabled(false);
    ASSERT_EQ(fired, changes) << "the timer stopped firing";
    EXPECT_EQ(Setting(L"files"), std::make_optional(m.FileList->Cell(m.Library.ActiveFile)));
    ExpectGivenBack(warm, Settle(m), "timer");
}
