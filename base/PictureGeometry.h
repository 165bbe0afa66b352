#pragma once
// Where a picture goes on a screen (or one monitor's area) for the two
// placements that keep its proportions. Pure arithmetic on sizes.
//
// Rounding: a scaled side is rounded to the nearest pixel (halves up) and is
// never below 1; what is left over is split with the smaller half first
// (left, top), so an odd pixel goes to the right or bottom.
#include <cstdint>

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Fill: the picture scaled to cover the whole area with its proportions
// kept, the overflow cut equally from both sides. Scaling `crop` (a part of
// the picture) to `target` (the area's size) gives the result.
struct FillPlan {
    PixelRect crop;
    PixelSize target;
    bool operator==(const FillPlan&) const = default;
};

// Sizes must be positive; a picture or an area without pixels raises
// std::invalid_argument.
FillPlan FillGeometry(PixelSize picture, PixelSize area);

// Fit: the whole picture, proportions kept, as large as the area allows
// (small pictures grow too), centred. The rectangle within the area where
// it goes; the rest of the area is margin.
PixelRect FitGeometry(PixelSize picture, PixelSize area);
