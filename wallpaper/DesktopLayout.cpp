// Where a tiled wallpaper's first pixel lands on a desktop of several
// monitors, which decides how the bitmap is laid out:
//
// - Windows 7 (and XP, Vista before it) puts the bitmap's top-left pixel at
//   the primary monitor's top-left, (0, 0) of the virtual screen, and repeats
//   it in every direction; a monitor left of or above the primary shows the
//   right or bottom part of the bitmap, wrapped around
//   (R. Chen, "How do I put a different wallpaper on each monitor?", The Old
//   New Thing, 2007-09-24, devblogs.microsoft.com/oldnewthing/20070924-00/?p=25003;
//   "Monitors position on Windows wallpaper", stackoverflow.com/q/31092395:
//   "the tile begins at 0;0 on the primary monitor"; the same wrap measured on
//   Windows 7 in bryantbrabson.blogspot.com/2012/07/ and on XP and Vista in
//   cjsavage.com/sr-archive/guides/windows_dual_monitor_wallpapers.html).
//   That is TileOrigin::PrimaryMonitor.
// - Windows 8 and later do not keep that wrap (wall.jaysonragasa.net: the
//   wrapped bitmap "only works from Windows 98 to Windows 7"; stackoverflow.com/q/58915448:
//   Windows 10 "seems to work differently"), and no Microsoft text says where
//   they start the tiles. What they document instead is span (WallpaperStyle
//   22 with TileWallpaper 0; DESKTOP_WALLPAPER_POSITION: DWPOS_SPAN "spans a
//   single image across all monitors", Windows 8 and later,
//   learn.microsoft.com/windows/win32/api/shobjidl_core/ne-shobjidl_core-desktop_wallpaper_position):
//   the picture scaled to cover the bounding rectangle of all monitors, so a
//   bitmap of exactly that size lands 1:1 from the rectangle's top-left. That
//   is TileOrigin::VirtualScreen, which is also where Wine's desktop window
//   starts its tiles (user32's desktop painting tiles from the window's
//   client origin, the virtual screen's top-left).
// With one monitor both origins are the same point and give today's bitmap.
#include "wallpaper/DesktopLayout.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace {
long Width(const RECT& r) {
    return r.right - r.left;
}
long Height(const RECT& r) {
    return r.bottom - r.top;
}

// The remainder that is never negative.
long Wrap(long long value, long size) {
    long long r = value % size;
    return static_cast<long>(r < 0 ? r + size : r);
}

// Rounds a/b to the nearest integer, halves up, never below 1.
long RoundedRatio(long long a, long long b) {
    return static_cast<long>(std::max<long long>(1, (2 * a + b) / (2 * b)));
}

// Fill and fit for one area, by the rounding of base's picture geometry (a
// scaled side rounded to the nearest pixel, halves up, at least 1; what is
// left over split with the smaller half first). The one place to swap for it.
RECT FillCrop(SIZE picture, SIZE area) {
    long w = picture.cx, h = picture.cy;
    // The picture's part with the area's proportions, as large as it goes.
    if (static_cast<long long>(area.cx) * picture.cy >= static_cast<long long>(area.cy) * picture.cx)
        h = std::min<long>(picture.cy, RoundedRatio(static_cast<long long>(picture.cx) * area.cy, area.cx));
    else
        w = std::min<long>(picture.cx, RoundedRatio(static_cast<long long>(picture.cy) * area.cx, area.cy));
    long left = (picture.cx - w) / 2, top = (picture.cy - h) / 2;
    return {left, top, left + w, top + h};
}

RECT FitRect(SIZE picture, SIZE area) {
    long w = area.cx, h = area.cy;
    if (static_cast<long long>(area.cx) * picture.cy <= static_cast<long long>(area.cy) * picture.cx)
        h = std::min<long>(area.cy, RoundedRatio(static_cast<long long>(picture.cy) * area.cx, picture.cx));
    else
        w = std::min<long>(area.cx, RoundedRatio(static_cast<long long>(picture.cx) * area.cy, picture.cy));
    long left = (area.cx - w) / 2, top = (area.cy - h) / 2;
    return {left, top, left + w, top + h};
}

// Where one picture goes on an area of the given size.
struct Placement {
    ScaleRequest Scaled;
    POINT Origin{};
    bool Repeat = false;
};

Placement Place(size_t index, const PictureChoice& picture, SIZE area, const TileStartRule& tileStart) {
    Placement p;
    p.Scaled = {index, {0, 0, picture.Size.cx, picture.Size.cy}, picture.Size};
    switch (picture.Position) {
    case PicturePosition::Centred:
        // Halved toward zero, as the centred tile is.
        p.Origin = {(area.cx - picture.Size.cx) / 2, (area.cy - picture.Size.cy) / 2};
        break;
    case PicturePosition::Tiled:
        p.Origin = tileStart ? tileStart(area, picture.Size) : POINT{0, 0};
        p.Repeat = true;
        break;
    case PicturePosition::Stretched:
        p.Scaled.Size = area;
        break;
    case PicturePosition::Fill:
        p.Scaled.Crop = FillCrop(picture.Size, area);
        p.Scaled.Size = area;
        break;
    case PicturePosition::Fit: {
        RECT r = FitRect(picture.Size, area);
        p.Scaled.Size = {Width(r), Height(r)};
        p.Origin = {r.left, r.top};
        break;
    }
    }
    return p;
}

size_t RequestIndex(std::vector<ScaleRequest>& requests, const ScaleRequest& r) {
    auto found = std::find(requests.begin(), requests.end(), r);
    if (found != requests.end()) return static_cast<size_t>(found - requests.begin());
    requests.push_back(r);
    return requests.size() - 1;
}

RECT BoundsOf(std::span<const DesktopMonitor> monitors) {
    RECT b = monitors.front().Rect;
    for (const DesktopMonitor& m : monitors) {
        if (m.Rect.right <= m.Rect.left || m.Rect.bottom <= m.Rect.top)
            throw std::invalid_argument("monitor without pixels");
        b.left = std::min(b.left, m.Rect.left);
        b.top = std::min(b.top, m.Rect.top);
        b.right = std::max(b.right, m.Rect.right);
        b.bottom = std::max(b.bottom, m.Rect.bottom);
    }
    // 32-bit rows whose total the BMP header can count.
    if (static_cast<uint64_t>(Width(b)) * 4 * static_cast<uint64_t>(Height(b)) > UINT32_MAX - 4096)
        throw std::invalid_argument("desktop too large for a bitmap");
    return b;
}
} // namespace

bool ScaleRequest::operator==(const ScaleRequest& o) const {
    return Picture == o.Picture && EqualRect(&Crop, &o.Crop) && Size.cx == o.Size.cx && Size.cy == o.Size.cy;
}

DesktopLayout LayOutDesktop(std::span<const DesktopMonitor> monitors, MonitorMode mode,
                            std::span<const PictureChoice> pictures, const TileStartRule& tileStart,
                            TileOrigin origin) {
    if (monitors.empty() || pictures.empty()) throw std::invalid_argument("no monitor or no picture");
    for (const PictureChoice& p : pictures)
        if (p.Size.cx <= 0 || p.Size.cy <= 0) throw std::invalid_argument("picture without pixels");

    DesktopLayout layout;
    layout.Bounds = BoundsOf(monitors);
    layout.BitmapOrigin = {layout.Bounds.left, layout.Bounds.top};
    if (origin == TileOrigin::PrimaryMonitor) {
        auto primary = std::find_if(monitors.begin(), monitors.end(), [](auto& m) { return m.Primary; });
        layout.BitmapOrigin =
            primary != monitors.end() ? POINT{primary->Rect.left, primary->Rect.top} : POINT{0, 0};
    }
    for (size_t i = 0; i < monitors.size(); ++i) {
        MonitorArea area;
        area.Monitor = monitors[i].Rect;
        area.Area = mode == MonitorMode::Span ? layout.Bounds : area.Monitor;
        size_t picture = mode == MonitorMode::OnePerMonitor ? i % pictures.size() : 0;
        Placement p = Place(picture, pictures[picture], SIZE{Width(area.Area), Height(area.Area)}, tileStart);
        area.Scaled = RequestIndex(layout.Scaled, p.Scaled);
        area.Origin = p.Origin;
        area.Repeat = p.Repeat;
        layout.Monitors.push_back(area);
    }
    return layout;
}

std::vector<BitmapPiece> MonitorInBitmap(const DesktopLayout& layout, size_t monitor) {
    const RECT& m = layout.Monitors.at(monitor).Monitor;
    const long w = Width(layout.Bounds), h = Height(layout.Bounds);
    struct Span {
        long from, to, local;
    };
    // One axis: where the monitor starts in the bitmap, split where it wraps.
    auto spans = [](long start, long size, long whole) {
        std::vector<Span> out{{start, std::min(start + size, whole), 0}};
        if (start + size > whole) out.push_back({0, start + size - whole, whole - start});
        return out;
    };
    std::vector<BitmapPiece> pieces;
    for (const Span& y : spans(Wrap(static_cast<long long>(m.top) - layout.BitmapOrigin.y, h), Height(m), h))
        for (const Span& x :
             spans(Wrap(static_cast<long long>(m.left) - layout.BitmapOrigin.x, w), Width(m), w))
            pieces.push_back({{x.from, y.from, x.to, y.to}, {x.local, y.local}});
    return pieces;
}
