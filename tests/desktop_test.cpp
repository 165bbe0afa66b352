// The wallpaper of a desktop of several monitors: which part of the one
// bitmap each monitor shows, where its picture goes, the pixels written, the
// monitors the system reports, and with one monitor today's tiled file.
#include "wallpaper/Placement.h"
#include "support/TileComposer.h"
#include "framework/TPicture.h"
#include "support/TestFiles.h"
#include "wallpaper/DesktopComposer.h"
#include "wallpaper/DesktopMonitors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace {
TileStartRule Tiles(bool centre, bool move = false, int x = 0, int y = 0) {
    return [=](SIZE area, SIZE tile) {
        TileStart s = FirstTile(area.cx, area.cy, tile.cx, tile.cy, centre, move, x, y);
        return POINT{s.x, s.y};
    };
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Every monitor's pieces: "left,top,right,bottom+x,y" (the monitor's point
// at the piece's corner), monitors apart by " | ".
std::string Pieces(const DesktopLayout& layout) {
    std::string out;
    for (size_t m = 0; m < layout.Monitors.size(); ++m) {
        if (m) out += " |";
        for (const BitmapPiece& p : MonitorInBitmap(layout, m)) {
            if (!out.empty()) out += ' ';
            out +=
                Text(p.InBitmap) + "+" + std::to_string(p.OnMonitor.x) + "," + std::to_string(p.OnMonitor.y);
        }
    }
    return out;
}

const DesktopMonitor primary{{0, 0, 1920, 1080}, true};

TEST(DesktopLayout, EachMonitorShowsItsPartWrappedAroundThePrimarysCorner) {
    struct Case {
        std::vector<DesktopMonitor> monitors;
        const char* bounds;
        const char* pieces; // tiles from the primary's corner
    } cases[] = {
        {{primary}, "0,0,1920,1080", "0,0,1920,1080+0,0"},
        {{primary, {{1920, 0, 3840, 1080}}}, "0,0,3840,1080", "0,0,1920,1080+0,0 | 1920,0,3840,1080+0,0"},
        {{primary, {{0, 1080, 1920, 2160}}}, "0,0,1920,2160", "0,0,1920,1080+0,0 | 0,1080,1920,2160+0,0"},
        {{primary, {{-1920, 0, 0, 1080}}}, "-1920,0,1920,1080", "0,0,1920,1080+0,0 | 1920,0,3840,1080+0,0"},
        {{primary, {{0, -1080, 1920, 0}}}, "0,-1080,1920,1080", "0,0,1920,1080+0,0 | 0,1080,1920,2160+0,0"},
        {{primary, {{-1280, -300, 0, 724}}},
         "-1280,-300,1920,1080",
         "0,0,1920,1080+0,0 | 1920,1080,3200,1380+0,0 1920,0,3200,724+0,300"},
        {{primary, {{1920, -420, 3000, 1500}}},
         "0,-420,3000,1500", // portrait
         "0,0,1920,1080+0,0 | 1920,1500,3000,1920+0,0 1920,0,3000,1500+0,420"},
        {{primary, {{-500, 1080, 1420, 2160}}},
         "-500,0,1920,2160",
         "0,0,1920,1080+0,0 | 1920,1080,2420,2160+0,0 0,1080,1420,2160+500,0"},
        {{{{-1280, 0, 0, 1024}}, primary, {{1920, 0, 3200, 1024}}},
         "-1280,0,3200,1080",
         "3200,0,4480,1024+0,0 | 0,0,1920,1080+0,0 | 1920,0,3200,1024+0,0"},
    };
    const PictureChoice picture{{100, 60}, PicturePosition::Tiled};
    for (const Case& c : cases) {
        DesktopLayout wrapped = LayOutDesktop(c.monitors, MonitorMode::SameOnEvery, {&picture, 1},
                                              Tiles(false), TileOrigin::PrimaryMonitor);
        EXPECT_EQ(Text(wrapped.Bounds), c.bounds);
        EXPECT_EQ(Pieces(wrapped), c.pieces);
        // From the virtual screen's corner nothing wraps.
        DesktopLayout plain = LayOutDesktop(c.monitors, MonitorMode::SameOnEvery, {&picture, 1}, Tiles(false),
                                            TileOrigin::VirtualScreen);
        for (size_t m = 0; m < c.monitors.size(); ++m) {
            RECT r = c.monitors[m].Rect;
            OffsetRect(&r, -plain.Bounds.left, -plain.Bounds.top);
            ASSERT_EQ(MonitorInBitmap(plain, m).size(), 1u);
            EXPECT_EQ(Text(MonitorInBitmap(plain, m)[0].InBitmap), Text(r));
        }
    }
}

TEST(DesktopLayout, EachMonitorPlacesItsPictureByItsOwnSize) {
    struct Case {
        PictureChoice picture;
        TileStartRule tiles;
        const char* placed; // per monitor: crop, scaled size, origin
    } cases[] = {
        {{{800, 600}, PicturePosition::Centred},
         Tiles(false),
         "0,0,800,600 800x600 560,240 | 0,0,800,600 800x600 -80,-60"},
        {{{100, 60}, PicturePosition::Tiled},
         Tiles(true),
         "0,0,100,60 100x60 -90,-30 | 0,0,100,60 100x60 -30,-30"},
        {{{800, 600}, PicturePosition::Stretched},
         Tiles(false),
         "0,0,800,600 1920x1080 0,0 | 0,0,800,600 640x480 0,0"},
        {{{800, 600}, PicturePosition::Fill},
         Tiles(false),
         "0,75,800,525 1920x1080 0,0 | 0,0,800,600 640x480 0,0"},
        {{{600, 800}, PicturePosition::Fit},
         Tiles(false),
         "0,0,600,800 810x1080 555,0 | 0,0,600,800 360x480 140,0"},
        {{{3000, 1000}, PicturePosition::Fit},
         Tiles(false),
         "0,0,3000,1000 1920x640 0,220 | 0,0,3000,1000 640x213 0,133"},
    };
    const DesktopMonitor monitors[] = {primary, {{1920, 0, 2560, 480}}};
    for (const Case& c : cases) {
        DesktopLayout layout = LayOutDesktop(monitors, MonitorMode::SameOnEvery, {&c.picture, 1}, c.tiles,
                                             TileOrigin::PrimaryMonitor);
        std::string placed;
        for (const MonitorArea& m : layout.Monitors) {
            const ScaleRequest& s = layout.Scaled.at(m.Scaled);
            if (!placed.empty()) placed += " | ";
            placed += Text(s.Crop) + " " + std::to_string(s.Size.cx) + "x" + std::to_string(s.Size.cy) + " " +
                      std::to_string(m.Origin.x) + "," + std::to_string(m.Origin.y);
            EXPECT_EQ(m.Repeat, c.picture.Position == PicturePosition::Tiled);
        }
        EXPECT_EQ(placed, c.placed);
    }
}

TEST(DesktopLayout, ModesChooseThePictureAndTheAreaEachMonitorShows) {
    const DesktopMonitor monitors[] = {primary, {{1920, 0, 3840, 1080}}, {{-1920, 0, 0, 1080}}};
    const PictureChoice pictures[] = {{{800, 600}, PicturePosition::Fill},
                                      {{600, 800}, PicturePosition::Fit}};
    auto layOut = [&](MonitorMode mode) {
        return LayOutDesktop(monitors, mode, pictures, Tiles(false), TileOrigin::VirtualScreen);
    };
    // Monitors of one size showing the same share one scaled picture.
    EXPECT_EQ(layOut(MonitorMode::SameOnEvery).Scaled.size(), 1u);
    // Each its own, from the first again when the pictures run out.
    DesktopLayout own = layOut(MonitorMode::OnePerMonitor);
    ASSERT_EQ(own.Scaled.size(), 2u);
    EXPECT_EQ(own.Scaled[own.Monitors[1].Scaled].Picture, 1u);
    EXPECT_EQ(own.Monitors[2].Scaled, own.Monitors[0].Scaled);
    // One picture over the bounding rectangle: 800x600 cut to 800x150.
    DesktopLayout span = layOut(MonitorMode::Span);
    ASSERT_EQ(span.Scaled.size(), 1u);
    EXPECT_EQ(Text(span.Scaled[0].Crop) + " " + std::to_string(span.Scaled[0].Size.cx), "0,225,800,375 5760");
    for (const MonitorArea& m : span.Monitors)
        EXPECT_EQ(Text(m.Area), Text(span.Bounds));

    const PictureChoice empty{{0, 10}};
    EXPECT_THROW(LayOutDesktop({}, MonitorMode::Span, pictures, {}, TileOrigin::VirtualScreen),
                 std::invalid_argument);
    EXPECT_THROW(LayOutDesktop(monitors, MonitorMode::Span, {&empty, 1}, {}, TileOrigin::VirtualScreen),
                 std::invalid_argument);
    // Tiles without a rule start at the corner.
    const PictureChoice tile{{100, 60}, PicturePosition::Tiled};
    EXPECT_EQ(LayOutDesktop(monitors, MonitorMode::Span, {&tile, 1}, {}, TileOrigin::VirtualScreen)
                  .Monitors[0]
                  .Origin.x,
              0);
}

TEST(MonitorSeam, RealPixelsComeFromTheDeviceAndThePrimaryComesFirst) {
    // At 150 % the device's mode is the monitor's real size and place.
    EXPECT_EQ(Text(PhysicalRect({-1280, 0, 0, 720}, POINT{-1920, 0}, {1920, 1080})), "-1920,0,0,1080");
    EXPECT_EQ(Text(PhysicalRect({10, 20, 110, 220}, std::nullopt, {300, 400})), "10,20,310,420");
    EXPECT_EQ(Text(PhysicalRect({10, 20, 110, 220}, POINT{0, 0}, {0, 0})), "10,20,110,220");

    std::vector<DesktopMonitor> order{
        {{1920, 0, 2000, 10}}, primary, {{-800, 0, 0, 10}}, {{-800, -10, 0, 0}}};
    PrimaryFirst(order);
    EXPECT_EQ(Text(order[0].Rect) + " " + Text(order[1].Rect) + " " + Text(order[2].Rect) + " " +
                  Text(order[3].Rect),
              "0,0,1920,1080 -800,-10,0,0 -800,0,0,10 1920,0,2000,10");

    std::vector<DesktopMonitor> system = SystemMonitors();
    ASSERT_FALSE(system.empty());
    EXPECT_TRUE(system[0].Primary);
    // No scaling under Wine: the primary as the system metrics give it.
    EXPECT_EQ(Text(system[0].Rect), "0,0," + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "," +
                                        std::to_string(GetSystemMetrics(SM_CYSCREEN)));
}

const COLORREF desk = RGB(0, 0, 200);

std::vector<uint32_t> Solid(int w, int h, COLORREF fill, COLORREF corner) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, DesktopPixel(fill));
    pixels[0] = DesktopPixel(corner);
    return pixels;
}

// The layout's bitmap from the given pixels, one vector per scaled picture.
testfiles::Bitmap Compose(const DesktopLayout& layout, const std::vector<std::vector<uint32_t>>& pixels) {
    std::vector<ScaledPicture> pictures;
    for (size_t i = 0; i < layout.Scaled.size(); ++i)
        pictures.push_back(PixelsPicture(pixels.at(i), layout.Scaled[i].Size.cx, layout.Scaled[i].Size.cy));
    const std::wstring path = testfiles::FreshFolder(L"desktop_compose") + L"\\desktop.bmp";
    WriteDesktopBitmap(layout, pictures, desk, path);
    return testfiles::ReadBitmap(path);
}

TEST(DesktopComposer, EveryMonitorShowsItsPictureAndTheRestTheDesktopColour) {
    const DesktopMonitor small{{0, 0, 64, 48}, true};
    // The secondary, left of the primary, is the bitmap's right part; its
    // fitted picture leaves margins, and above it no monitor shows.
    const DesktopMonitor own[] = {small, {{-32, 8, 0, 48}}};
    const PictureChoice choices[] = {{{8, 6}, PicturePosition::Stretched}, {{16, 8}, PicturePosition::Fit}};
    testfiles::Bitmap bmp =
        Compose(LayOutDesktop(own, MonitorMode::OnePerMonitor, choices, {}, TileOrigin::PrimaryMonitor),
                {Solid(64, 48, RGB(255, 0, 0), RGB(255, 255, 255)), Solid(32, 16, RGB(0, 255, 0), 0)});
    struct Point {
        int x, y;
        COLORREF color;
    } points[] = {{0, 0, RGB(255, 255, 255)}, {63, 47, RGB(255, 0, 0)}, {64, 8, desk}, {64, 20, RGB(0, 0, 0)},
                  {95, 35, RGB(0, 255, 0)},   {80, 36, desk},           {70, 4, desk}};
    for (const Point& p : points)
        EXPECT_EQ(bmp.Pixel(p.x, p.y), p.color) << p.x << "," << p.y;

    // One picture across both: the primary shows its right part.
    std::vector<uint32_t> columns(96 * 48);
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i] = static_cast<uint32_t>(i % 96);
    const DesktopMonitor both[] = {small, {{-32, 0, 0, 48}}};
    const PictureChoice across{{96, 48}, PicturePosition::Stretched};
    bmp = Compose(LayOutDesktop(both, MonitorMode::Span, {&across, 1}, {}, TileOrigin::PrimaryMonitor),
                  {columns});
    EXPECT_EQ(bmp.Pixel(0, 5), RGB(0, 0, 32));
    EXPECT_EQ(bmp.Pixel(63, 5), RGB(0, 0, 95));
    EXPECT_EQ(bmp.Pixel(64, 5), RGB(0, 0, 0));
    EXPECT_EQ(bmp.Pixel(95, 47), RGB(0, 0, 31));
}

std::string Bytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DesktopComposer, OneMonitorTiledIsTheTiledApplysFileByteForByte) {
    const int w = 100, h = 60;
    BITMAPINFO info{};
    info.bmiHeader = DibHeader(w, -h, 32);
    void* bits = nullptr;
    UniqueBitmap dib{CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    ASSERT_TRUE(dib);
    std::vector<uint32_t> pixels(w * h);
    for (int i = 0; i < w * h; ++i)
        pixels[i] = DesktopPixel(RGB(i % w * 2, i / w * 4, i * 7 & 255));
    std::memcpy(bits, pixels.data(), pixels.size() * 4);
    TPicture tile;
    tile.AssignBitmap(std::move(dib));

    const std::wstring dir = testfiles::FreshFolder(L"desktop_today");
    const DesktopMonitor screen{{0, 0, 640, 480}, true};
    const PictureChoice tiled{{w, h}, PicturePosition::Tiled};
    const ScaledPicture picture = PixelsPicture(pixels, w, h);
    const std::tuple<bool, bool, int, int> rules[] = {
        {false, false, 0, 0}, {true, false, 0, 0}, {false, true, 250, -7}};
    for (auto [centre, move, x, y] : rules) {
        WriteTiledBitmap(tile, FirstTile(640, 480, w, h, centre, move, x, y), 640, 480, dir + L"\\today.bmp");
        DesktopLayout layout = LayOutDesktop({&screen, 1}, MonitorMode::SameOnEvery, {&tiled, 1},
                                             Tiles(centre, move, x, y), TileOrigin::PrimaryMonitor);
        WriteDesktopBitmap(layout, {&picture, 1}, desk, dir + L"\\desktop.bmp");
        const std::string today = Bytes(dir + L"\\today.bmp");
        ASSERT_EQ(today.size(), 54u + 640 * 480 * 4);
        EXPECT_TRUE(today == Bytes(dir + L"\\desktop.bmp")) << centre << move;

        // A picture not of the size asked for is refused.
        const ScaledPicture wrong = PixelsPicture(pixels, h, w);
        EXPECT_THROW(ComposeDesktop(layout, {&wrong, 1}, desk, 1 << 20, [](const void*, size_t) {}),
                     std::invalid_argument);
    }
}

// Several monitors under Wine: in a session that scripts/wine-harness.sh
// brought up with TAPESTRA_MONITORS ("WxH+X+Y,...", X coordinates, the first
// primary), the system reports those monitors and each one's part of the
// bitmap shows its own picture.
TEST(MonitorSession, TheSystemsMonitorsAreTheSessionsAndEachShowsItsOwnPicture) {
    char spec[512];
    if (!GetEnvironmentVariableA("TAPESTRA_MONITORS", spec, sizeof spec))
        GTEST_SKIP() << "a one-monitor session";
    std::vector<DesktopMonitor> expected;
    std::stringstream list(spec);
    for (std::string item; std::getline(list, item, ',');) {
        long w = 0, h = 0, x = 0, y = 0;
        ASSERT_EQ(std::sscanf(item.c_str(), "%ldx%ld+%ld+%ld", &w, &h, &x, &y), 4);
        expected.push_back({{x, y, x + w, y + h}, expected.empty()});
    }
    const POINT origin{expected.front().Rect.left, expected.front().Rect.top};
    for (DesktopMonitor& m : expected)
        OffsetRect(&m.Rect, -origin.x, -origin.y);
    PrimaryFirst(expected);
    const std::vector<DesktopMonitor> system = SystemMonitors();
    ASSERT_EQ(system.size(), expected.size());
    for (size_t i = 0; i < system.size(); ++i)
        EXPECT_EQ(Text(system[i].Rect), Text(expected[i].Rect));

    const std::vector<PictureChoice> choices(system.size(), {{4, 4}, PicturePosition::Stretched});
    const DesktopLayout layout =
        LayOutDesktop(system, MonitorMode::OnePerMonitor, choices, {}, TileOrigin::PrimaryMonitor);
    std::vector<std::vector<uint32_t>> pixels;
    for (const ScaleRequest& r : layout.Scaled)
        pixels.push_back(Solid(r.Size.cx, r.Size.cy, RGB(0, 0, 10 + r.Picture), RGB(0, 0, 10 + r.Picture)));
    const testfiles::Bitmap bmp = Compose(layout, pixels);
    for (size_t m = 0; m < system.size(); ++m)
        for (const BitmapPiece& p : MonitorInBitmap(layout, m)) {
            const COLORREF own = RGB(0, 0, 10 + m);
            EXPECT_EQ(bmp.Pixel(p.InBitmap.left, p.InBitmap.top), own) << m;
            EXPECT_EQ(bmp.Pixel(p.InBitmap.right - 1, p.InBitmap.bottom - 1), own) << m;
        }
}
} // namespace
