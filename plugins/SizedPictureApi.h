#pragma once
// An export of our own image plug-ins beyond the common interface:
// GetPictureAtSize decodes a picture straight to the size the host shows it
// at. Other plug-ins lack it; a host looks it up by name and otherwise uses
// GetPicture. docs/pictures.md describes how a host uses it.
#include "plugins/SusieApi.h"

#include <cstdint>

namespace susie {

// What the host asks for. Every field is 32 bits, so the layout is the same
// in 32-bit and 64-bit builds.
struct SizedRequest {
    uint32_t size; // sizeof(SizedRequest); a later, longer request keeps these fields first
    int32_t width; // the DIB returned is exactly width x height
    int32_t height;
    // The part of the picture as stored (its orientation not applied) that
    // is scaled to width x height; cropWidth or cropHeight 0: the whole picture.
    int32_t cropLeft;
    int32_t cropTop;
    int32_t cropWidth;
    int32_t cropHeight;
};

// What the plug-in tells; the host sets `size` before the call.
struct SizedResult {
    uint32_t size;        // sizeof(SizedResult)
    int32_t pictureWidth; // the picture as stored
    int32_t pictureHeight;
    int32_t orientation;   // 1 to 8 from the file's own tag (JPEG Exif, TIFF); 1 when none
    uint32_t flags;        // kSizedHasAlpha
    uint32_t decoderScale; // the decoder itself delivered 1/decoderScale of each side; 1 when it could not
};

// The DIB is 32-bit BGRA with straight (not premultiplied) alpha, and some
// pixel is not opaque: lay it onto the background. Without the flag the DIB
// is 24-bit. Only this export's DIBs say so: the alpha byte of a 32-bit DIB
// from GetPicture means nothing.
constexpr uint32_t kSizedHasAlpha = 1;

// path, offset and flag as for GetPicture. With bitmapInfo and pixels both
// null only `result` is filled (no pixel is decoded and `request` may be
// null); else the two blocks are returned as GetPicture returns them.
// Pictures up to 65,535 pixels a side and 256 megapixels in all are taken
// (GetPicture stops at 64 megapixels); larger ones, and a DIB over 64
// megapixels, fail with NoMemory. A request outside the picture fails with
// InternalError.
using GetPictureAtSizeProc = int32_t(__stdcall*)(LPCSTR path, LONG_PTR offset, uint32_t flag,
                                                 const SizedRequest* request, SizedResult* result,
                                                 HLOCAL* bitmapInfo, HLOCAL* pixels,
                                                 ProgressCallback progress, LONG_PTR data);

static_assert(sizeof(SizedRequest) == 28 && sizeof(SizedResult) == 24, "the same in every build");

} // namespace susie
