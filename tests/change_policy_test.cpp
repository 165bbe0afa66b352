// The change rules: previous and next wrap around, random never repeats,
// and the tiles of a composed wallpaper start at the right offset.
#include "library/ChangePolicy.h"
#include "wallpaper/Placement.h"
#include "wallpaper/TileComposer.h"
#include "framework/Handle.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {
TEST(Placement, AFilesPositionWinsStandardTakesTheToolbarsAndStrayValuesReadAsStandard) {
    using P = TDisplayPosition;
    struct Case {
        int stored;
        P windowWide, shown;
    } cases[] = {
        {0, P::Tiled, P::Tiled},   {1, P::Tiled, P::Centred}, {2, P::Fill, P::Tiled},   {3, P::Tiled, P::Stretched},
        {4, P::Centred, P::Fill},  {5, P::Tiled, P::Fit},     {6, P::Fit, P::Fit},      {-1, P::Stretched, P::Stretched},
        {99, P::Centred, P::Centred},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(EffectivePosition(StoredPosition(c.stored), c.windowWide), c.shown);
    }
}

TEST(Placement, TheWindowWidePositionComesBackOnlyWhileTheDesktopShowsWhatItWasWrittenWith) {
    const DesktopShown tiled{true, false, false}, span{false, false, true};
    EXPECT_EQ(PositionRecord(TDisplayPosition::Fill, tiled), L"4,1,0,0");
    EXPECT_EQ(RecordedPosition(PositionRecord(TDisplayPosition::Fit, span), span), TDisplayPosition::Fit);
    EXPECT_EQ(RecordedPosition(L"4,1,0,0", tiled), TDisplayPosition::Fill);
    // The user has set the desktop otherwise since, or the record is not ours.
    for (const wchar_t* record : {L"4,1,0,0", L"", L"4,1,0", L"x", L"0,1,0,0", L"6,1,0,0", L"4,1,0,0,", L"4,1,0,0x"}) {
        SCOPED_TRACE(record);
        EXPECT_EQ(RecordedPosition(record, std::wstring(record) == L"4,1,0,0" ? span : tiled), std::nullopt);
    }
}

TEST(ChangeRows, PreviousAndNextWrapAroundAndLeaveTheNoneRow) {
    const int rows = 6; // five files
    EXPECT_EQ(PreviousRow(1, rows), 5);
    EXPECT_EQ(PreviousRow(0, rows), 5);
    EXPECT_EQ(PreviousRow(3, rows), 2);
    EXPECT_EQ(NextRow(5, rows), 1);
    EXPECT_EQ(NextRow(0, rows), 1);
    EXPECT_EQ(NextRow(3, rows), 4);
    // One file: both apply it again.
    EXPECT_EQ(PreviousRow(1, 2), 1);
    EXPECT_EQ(NextRow(1, 2), 1);
}

TEST(ChangeRows, RandomNeverDrawsTheCurrentRowOrTheNoneRow) {
    std::mt19937 engine(42);
    auto draw = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine); };
    for (int rows = 3; rows <= 8; ++rows)
        for (int row = 0; row < rows; ++row) {
            std::set<int> seen;
            for (int i = 0; i < 400; ++i) {
                int next = PickRandomRow(row, rows, draw);
                ASSERT_NE(next, row);
                ASSERT_GE(next, 1);
                ASSERT_LE(next, rows - 1);
                seen.insert(next);
            }
            // Every other file can come up.
            EXPECT_EQ(static_cast<int>(seen.size()), row == 0 ? rows - 1 : rows - 2);
        }
}

TEST(ChangeRows, RandomWithTheOneFileSelectedAppliesItAgainWithoutDrawing) {
    int draws = 0;
    auto draw = [&](int lo, int) {
        ++draws;
        return lo;
    };
    EXPECT_EQ(PickRandomRow(1, 2, draw), 1);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(PickRandomRow(0, 2, draw), 1);
}

TEST(TileOffsets, MovedOffsetsStepBackToTheCorner) {
    TileStart s = FirstTile(1024, 768, 100, 100, false, true, 250, 10);
    EXPECT_EQ(s.x, -50);
    EXPECT_EQ(s.y, -90);
}

TEST(TileOffsets, CentredTileSitsInTheMiddle) {
    TileStart s = FirstTile(640, 480, 100, 60, true, true, 250, 10);
    EXPECT_EQ(s.x, -30);
    EXPECT_EQ(s.y, -30);
}

TEST(TileOffsets, NoOffsetStartsAtTheCornerAndMoveOffIgnoresPositions) {
    TileStart s = FirstTile(640, 480, 64, 64, false, false, 250, 10);
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 0);
}

TEST(TileOffsets, NegativeAndExactMultiplesStayInTheFirstTile) {
    TileStart s = FirstTile(640, 480, 100, 60, false, true, -250, 120);
    EXPECT_EQ(s.x, -50);
    EXPECT_EQ(s.y, 0);
    s = FirstTile(640, 480, 100, 60, false, true, 2000000000, -2000000000);
    EXPECT_GT(s.x, -100);
    EXPECT_LE(s.x, 0);
    EXPECT_GT(s.y, -60);
    EXPECT_LE(s.y, 0);
    // A tile larger than the screen centred: the offset is negative at once.
    s = FirstTile(640, 480, 1000, 700, true, false, 0, 0);
    EXPECT_EQ(s.x, -180);
    EXPECT_EQ(s.y, -110);
}
} // namespace

TEST(TileScreen, TheCompositionHasThePhysicalSizeOfAScaledScreen) {
    struct Case {
        const char* name;
        SIZE metrics, device, expected;
    } cases[] = {
        {"150 %, not DPI aware", {1280, 720}, {1920, 1080}, {1920, 1080}},
        {"200 %, not DPI aware", {960, 540}, {1920, 1080}, {1920, 1080}},
        {"unscaled", {1024, 768}, {1024, 768}, {1024, 768}},
        {"a device that reports no size", {1024, 768}, {0, 0}, {1024, 768}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SIZE size = PhysicalSize(c.metrics, c.device);
        EXPECT_EQ(size.cx, c.expected.cx);
        EXPECT_EQ(size.cy, c.expected.cy);
    }
    // This display: the device's own size.
    WindowDC screen(nullptr);
    EXPECT_EQ(WallpaperScreenSize().cx, GetDeviceCaps(screen.get(), DESKTOPHORZRES));
    EXPECT_EQ(WallpaperScreenSize().cy, GetDeviceCaps(screen.get(), DESKTOPVERTRES));
}
