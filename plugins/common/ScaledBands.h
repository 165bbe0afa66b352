#pragma once
// Part of a decoded frame, scaled to a size, fed band by band from the
// decoder through the streaming resampler: neither this nor the resampler
// ever holds the frame at full size (the decoder may, inside itself).
#include "base/PictureGeometry.h"
#include "base/RowResampler.h"
#include "plugins/common/DibWriter.h"

#include <wincodec.h>

#include <cstdint>
#include <functional>

namespace spi {

struct ScaledBandsSource {
    // The decoder's frame: asked for IWICBitmapSourceTransform, through which
    // a decoder that can (the JPEG codec of Windows) decodes at a reduced scale.
    IWICBitmapSource* frame;
    // The frame's rows at full scale, read when the decoder cannot reduce.
    IWICBitmapSource* rows;
    RowFormat rowsFormat;
    PixelSize picture;
};

// The decoder's own reduction that keeps `crop` at least `target` large:
// the smallest of the sizes it offers for 1/8, 1/4 and 1/2 of the picture
// that does, and the crop within it (edges rounded to the nearest pixel).
// Scale 1 and the picture as it is when none does.
struct DecoderReduction {
    uint32_t scale = 1;
    PixelSize picture;
    PixelRect crop;
    bool operator==(const DecoderReduction&) const = default;
};
// Turns a wanted size into the closest the decoder offers; false when it fails.
using ClosestSize = std::function<bool(uint32_t& width, uint32_t& height)>;
DecoderReduction ChooseReduction(PixelSize picture, PixelRect crop, PixelSize target,
                                 const ClosestSize& closest);

// Feeds `crop` of the picture, scaled to `target`, into `sink` row by row;
// returns the decoder's scale. Throws Failure (BrokenData when the decoder
// fails, Cancelled from the progress callback).
uint32_t ReadScaledBands(const ScaledBandsSource& source, PixelRect crop, PixelSize target,
                         const RowResampler::RowSink& sink, const Progress& progress);

} // namespace spi
