#include "base/PictureGeometry.h"

#include <algorithm>
#include <stdexcept>

namespace {
void RequirePixels(PixelSize size) {
    if (size.width <= 0 || size.height <= 0) throw std::invalid_argument("a size without pixels");
}

// value * numerator / denominator to the nearest integer, halves up, at least 1.
int ScaledSide(int value, int numerator, int denominator) {
    const int64_t scaled = (int64_t{value} * numerator + denominator / 2) / denominator;
    return static_cast<int>(std::max<int64_t>(1, scaled));
}

// Whether the picture is wider than the area in proportion (equal counts as
// not wider): compared crosswise, exact in 64 bits.
bool WiderThan(PixelSize picture, PixelSize area) {
    return int64_t{picture.width} * area.height > int64_t{area.width} * picture.height;
}
} // namespace

FillPlan FillGeometry(PixelSize picture, PixelSize area) {
    RequirePixels(picture);
    RequirePixels(area);
    FillPlan plan{{0, 0, picture.width, picture.height}, area};
    if (WiderThan(picture, area)) {
        // The full height is used; the sides are cut.
        plan.crop.width = std::min(picture.width, ScaledSide(picture.height, area.width, area.height));
        plan.crop.left = (picture.width - plan.crop.width) / 2;
    } else {
        plan.crop.height = std::min(picture.height, ScaledSide(picture.width, area.height, area.width));
        plan.crop.top = (picture.height - plan.crop.height) / 2;
    }
    return plan;
}

PixelRect FitGeometry(PixelSize picture, PixelSize area) {
    RequirePixels(picture);
    RequirePixels(area);
    PixelRect placed{0, 0, area.width, area.height};
    if (WiderThan(picture, area))
        placed.height = std::min(area.height, ScaledSide(picture.height, area.width, picture.width));
    else
        placed.width = std::min(area.width, ScaledSide(picture.width, area.height, picture.height));
    placed.left = (area.width - placed.width) / 2;
    placed.top = (area.height - placed.height) / 2;
    return placed;
}
