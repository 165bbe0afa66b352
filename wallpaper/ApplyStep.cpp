#include "wallpaper/ApplyStep.h"

#include "framework/TPicture.h"
#include "wallpaper/DesktopComposer.h"
#include "wallpaper/PictureReader.h"
#include "wallpaper/Placement.h"
#include "wallpaper/SafeFileWrite.h"
#include "wallpaper/TWallChanger.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {
constexpr size_t kBandBytes = 256u << 10;

SIZE SizeOf(const RECT& r) {
    return {r.right - r.left, r.bottom - r.top};
}

RECT Bounds(std::span<const DesktopMonitor> monitors) {
    RECT bounds = monitors.front().Rect;
    for (const DesktopMonitor& monitor : monitors)
        UnionRect(&bounds, &bounds, &monitor.Rect);
    return bounds;
}

PicturePosition LayoutPosition(TDisplayPosition position) {
    switch (position) {
    case TDisplayPosition::Tiled:
        return PicturePosition::Tiled;
    case TDisplayPosition::Stretched:
        return PicturePosition::Stretched;
    case TDisplayPosition::Fill:
        return PicturePosition::Fill;
    case TDisplayPosition::Fit:
        return PicturePosition::Fit;
    default:
        return PicturePosition::Centred;
    }
}

void WritePicture(const DecodedPicture& picture, const std::wstring& path) {
    BmpFormat format{picture.Width, picture.Height, 32, {}, {}};
    WriteBmpFile(path, format, kBandBytes, [&](int first, int count, BYTE* band) {
        for (int i = 0; i < count; ++i) {
            std::span<const uint32_t> row = picture.Row(picture.Height - 1 - (first + i));
            std::memcpy(band + static_cast<size_t>(i) * picture.Width * 4, row.data(), row.size_bytes());
        }
    });
}

// The layout's scaled pictures made from the decoded ones; a picture used at
// its own size is read where it is.
void ComposeLayout(const DesktopLayout& layout, std::span<const PlacedPicture> placed, COLORREF background,
                   const std::wstring& path) {
    std::vector<DecodedPicture> made;
    made.reserve(layout.Scaled.size());
    std::vector<ScaledPicture> pictures;
    for (const ScaleRequest& request : layout.Scaled) {
        const DecodedPicture& source = *placed[request.Picture].Picture;
        const PixelRect part{request.Crop.left, request.Crop.top, request.Crop.right - request.Crop.left,
                             request.Crop.bottom - request.Crop.top};
        const DecodedPicture* used = &source;
        if (part != PixelRect{0, 0, source.Width, source.Height} ||
            request.Size.cx != source.Width || request.Size.cy != source.Height) {
            made.push_back(ScaledPart(source, part, {request.Size.cx, request.Size.cy}));
            used = &made.back();
        }
        pictures.push_back(PixelsPicture(used->Pixels, used->Width, used->Height));
    }
    WriteDesktopBitmap(layout, pictures, background, path);
}
} // namespace

void ApplyWallpaper(TWallChanger& desktop, const WallpaperRequest& request) {
    if (request.Monitors.empty() || request.Pictures.empty())
        throw std::invalid_argument("a wallpaper needs a monitor and a picture");
    const bool one = request.Monitors.size() == 1;
    const PlacedPicture& first = request.Pictures.front();
    const TDisplayPosition position = first.Position;
    bool tiling = true, stretch = false, span = false;
    // The desktop names this file: a write that fails must leave it whole.
    WriteReplacing(request.BitmapPath, [&](const std::wstring& path) {
        if (one && position == TDisplayPosition::Centred) {
            tiling = false;
            WritePicture(*first.Picture, path);
            return;
        }
        if (one && position == TDisplayPosition::Stretched) {
            // What the system would stretch it to anyway: the screen.
            const SIZE screen = SizeOf(request.Monitors.front().Rect);
            tiling = false;
            stretch = true;
            const DecodedPicture& picture = *first.Picture;
            if (picture.Width == screen.cx && picture.Height == screen.cy)
                WritePicture(picture, path);
            else
                WritePicture(Scaled(picture, {screen.cx, screen.cy}), path);
            return;
        }
        std::vector<PictureChoice> choices;
        for (const PlacedPicture& placed : request.Pictures)
            choices.push_back({{placed.Picture->Width, placed.Picture->Height}, LayoutPosition(placed.Position)});
        const TileOptions tiles = request.Tiles;
        const TileStartRule tileStart = [tiles](SIZE area, SIZE tile) {
            const TileStart start =
                FirstTile(area.cx, area.cy, tile.cx, tile.cy, tiles.CenterTiles, tiles.Move, tiles.XPos, tiles.YPos);
            return POINT{start.x, start.y};
        };
        const MonitorMode mode = request.Mode == TMonitorMode::EachOwn ? MonitorMode::OnePerMonitor
                                 : request.Mode == TMonitorMode::Span ? MonitorMode::Span
                                                                      : MonitorMode::SameOnEvery;
        const bool shownAsSpan = !one && request.SpanShown;
        const DesktopLayout layout =
            LayOutDesktop(request.Monitors, mode, choices, tileStart,
                          shownAsSpan ? TileOrigin::VirtualScreen : TileOrigin::PrimaryMonitor);
        tiling = !shownAsSpan;
        span = shownAsSpan;
        ComposeLayout(layout, request.Pictures, request.Background, path);
    });
    desktop.Tiling = tiling;
    desktop.Stretch = stretch;
    desktop.Span = span;
    desktop.WallpaperName = request.BitmapPath;
    desktop.Apply();
}

void ClearDesktop(TWallChanger& desktop) {
    desktop.WallpaperName.clear();
    TWallChanger::ClearWallpaper();
}

PixelSize DecodeSizeFor(PixelSize upright, TDisplayPosition position, std::span<const DesktopMonitor> monitors,
                        TMonitorMode mode) {
    if (position == TDisplayPosition::Centred || position == TDisplayPosition::Tiled || monitors.empty() ||
        upright.width <= 0 || upright.height <= 0)
        return upright;
    std::vector<SIZE> areas;
    if (mode == TMonitorMode::Span && monitors.size() > 1)
        areas.push_back(SizeOf(Bounds(monitors)));
    else
        for (const DesktopMonitor& monitor : monitors)
            areas.push_back(SizeOf(monitor.Rect));
    // Stretched over one area: decoded straight to its size.
    if (position == TDisplayPosition::Stretched && areas.size() == 1)
        return {std::min<int>(areas[0].cx, upright.width), std::min<int>(areas[0].cy, upright.height)};
    double scale = 0;
    for (SIZE area : areas) {
        const double across = static_cast<double>(area.cx) / upright.width;
        const double down = static_cast<double>(area.cy) / upright.height;
        scale = std::max(scale, position == TDisplayPosition::Fit ? std::min(across, down) : std::max(across, down));
    }
    if (scale >= 1) return upright;
    // Rounded up, so that the scaling after it only ever shrinks.
    return {std::max(1, static_cast<int>(std::ceil(upright.width * scale))),
            std::max(1, static_cast<int>(std::ceil(upright.height * scale)))};
}

bool SystemShowsSpans() {
    // Wine says Windows 7 but draws the desktop's bitmap from the desktop's
    // top-left, as a span does (a style it does not know shows it centred,
    // which for a bitmap of the desktop's size is the same).
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return true;
    // Whatever the manifest names, Windows 8 and later answer 6.2 at least.
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&version)) return true;
#pragma GCC diagnostic pop
    return version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
}
