#pragma once
// The wallpaper of a desktop of one or more monitors, laid out as one bitmap
// that the system shows 1:1: how large the bitmap is, which part of it each
// monitor shows, and where each monitor's picture goes. Pure arithmetic on
// rectangles, in virtual-screen coordinates and physical pixels.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

struct DesktopMonitor {
    RECT Rect{}; // virtual-screen coordinates; the primary's top-left is (0, 0)
    bool Primary = false;
};

// How a picture covers one area: the picture unchanged in the middle, or
// repeated, or scaled to the area's size, to cover it (cut equally on both
// sides) or to fit in it (margins in the desktop colour).
enum class PicturePosition { Centred, Tiled, Stretched, Fill, Fit };

// The same picture on every monitor, a picture of its own on each, or one
// picture across the bounding rectangle of all.
enum class MonitorMode { SameOnEvery, OnePerMonitor, Span };

// Where the system puts the top-left pixel of a tiled bitmap (see
// DesktopLayout.cpp for what each Windows does).
enum class TileOrigin { PrimaryMonitor, VirtualScreen };

struct PictureChoice {
    SIZE Size{};
    PicturePosition Position = PicturePosition::Centred;
};

// Where the first tile of a tiled area starts, relative to the area's
// top-left (the program's rule: the offset from the options or the centred
// tile, stepped back to the tile that covers the corner). Without a rule the
// tiles start at the corner.
using TileStartRule = std::function<POINT(SIZE area, SIZE tile)>;

// A picture as the desktop needs it scaled: the part of it that is scaled
// (the whole picture but for fill) and the size it is scaled to (its own
// size when centred or tiled).
struct ScaleRequest {
    size_t Picture = 0;
    RECT Crop{};
    SIZE Size{};
    bool operator==(const ScaleRequest&) const;
};

struct MonitorArea {
    RECT Monitor{};
    RECT Area{};         // what the picture is placed on: the monitor, or in span mode the bounding rectangle
    size_t Scaled = 0;   // into DesktopLayout::Scaled
    POINT Origin{};      // the scaled picture's top-left, relative to the area's top-left
    bool Repeat = false; // tiled from Origin over the whole area
};

struct DesktopLayout {
    RECT Bounds{};        // the bounding rectangle of all monitors: the bitmap's size
    POINT BitmapOrigin{}; // the virtual-screen point that shows the bitmap's top-left pixel
    std::vector<MonitorArea> Monitors;
    // The scaled pictures for the caller to make; monitors that need the
    // same one share it.
    std::vector<ScaleRequest> Scaled;
};

// Lays the desktop out. SameOnEvery and Span use pictures[0]; OnePerMonitor
// gives monitor i pictures[i], and when there are fewer pictures than
// monitors starts again from the first. No monitor, no picture, a picture or
// monitor without pixels, or a desktop wider or higher than a bitmap can be
// raise std::invalid_argument.
DesktopLayout LayOutDesktop(std::span<const DesktopMonitor> monitors, MonitorMode mode,
                            std::span<const PictureChoice> pictures, const TileStartRule& tileStart,
                            TileOrigin origin);

// A rectangle of the bitmap and the monitor-local point its top-left shows.
struct BitmapPiece {
    RECT InBitmap{};
    POINT OnMonitor{};
};
// The part of the bitmap that one monitor shows: one rectangle, or up to
// four where the monitor's area wraps around the bitmap's edges.
std::vector<BitmapPiece> MonitorInBitmap(const DesktopLayout& layout, size_t monitor);
