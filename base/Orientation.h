#pragma once
// The eight orientations a photo's tag can give, applied to pixels: how the
// picture as stored must be turned to be seen upright.
//   1 as stored          2 mirrored left-right   3 turned 180 degrees
//   4 mirrored top-down  5 mirrored along the main diagonal (transposed)
//   6 turned 90 degrees clockwise   7 mirrored along the other diagonal
//   8 turned 90 degrees anticlockwise
// Width and height swap for 5 to 8. Any other value is taken as 1.
#include "base/PictureGeometry.h"

#include <cstddef>
#include <cstdint>

// The size of the picture as it is shown.
PixelSize OrientedSize(PixelSize stored, int orientation);

// The part of the stored picture that is shown as `shown`, a rectangle of
// the turned picture (so a crop chosen on the upright picture can be
// decoded from the stored one).
PixelRect StoredRect(PixelRect shown, PixelSize stored, int orientation);

// Writes the turned copy of a top-down 32-bit picture of `stored` size into
// `out`, whose size is OrientedSize. Strides in bytes.
void OrientPixels(const uint32_t* in, ptrdiff_t inStride, PixelSize stored, int orientation, uint32_t* out,
                  ptrdiff_t outStride);
