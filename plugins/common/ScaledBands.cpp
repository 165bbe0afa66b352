#include "plugins/common/ScaledBands.h"

#include "plugins/common/Failure.h"
#include "plugins/common/WicPicture.h"
#include "plugins/common/WicSourceTransform.h"

#include <algorithm>
#include <vector>

namespace spi {
namespace {
// Rows are fetched from the decoder in bands of about this many bytes.
constexpr size_t kBandBytes = 256 * 1024;
constexpr uint32_t kReductions[] = {8, 4, 2};

int ScaledEdge(int edge, int from, int to) {
    return static_cast<int>((int64_t{edge} * to + from / 2) / from);
}

PixelRect ScaledCrop(PixelRect crop, PixelSize picture, PixelSize scaled) {
    PixelRect result;
    result.left = std::min(ScaledEdge(crop.left, picture.width, scaled.width), scaled.width - 1);
    result.top = std::min(ScaledEdge(crop.top, picture.height, scaled.height), scaled.height - 1);
    const int right = ScaledEdge(crop.left + crop.width, picture.width, scaled.width);
    const int bottom = ScaledEdge(crop.top + crop.height, picture.height, scaled.height);
    result.width = std::clamp(right - result.left, 1, scaled.width - result.left);
    result.height = std::clamp(bottom - result.top, 1, scaled.height - result.top);
    return result;
}

// Copies a rectangle of rows into a buffer: the decoder's own CopyPixels or
// that of the transform at a reduced scale.
using CopyRows = std::function<HRESULT(const WICRect& rect, UINT stride, UINT size, BYTE* buffer)>;

void Feed(const CopyRows& copy, RowFormat format, PixelRect crop, PixelSize target,
          const RowResampler::RowSink& sink, const Progress& progress) {
    RowResampler resampler({crop.width, crop.height}, target, format, sink);
    const size_t pixelBytes = format == RowFormat::Bgr24 ? 3 : 4;
    const size_t stride = (static_cast<size_t>(crop.width) * pixelBytes + 3) & ~size_t{3};
    const int bandRows = static_cast<int>(std::clamp<size_t>(kBandBytes / stride, 1, crop.height));
    std::vector<BYTE> band(stride * static_cast<size_t>(bandRows));
    progress.Report(0, crop.height);
    for (int y = 0; y < crop.height; y += bandRows) {
        const int rows = std::min(bandRows, crop.height - y);
        const WICRect rect{crop.left, crop.top + y, crop.width, rows};
        Check(copy(rect, static_cast<UINT>(stride), static_cast<UINT>(stride * rows), band.data()),
              susie::BrokenData);
        resampler.Push(band.data(), static_cast<ptrdiff_t>(stride), rows);
        progress.Report(y + rows, crop.height);
    }
}

// The transform of a decoder that can reduce while it decodes, with the pixel
// format it delivers then; null when it cannot or not in a format we read.
ComPtr<IWICBitmapSourceTransform> ReducingTransform(IWICBitmapSource* frame, RowFormat& format) {
    ComPtr<IWICBitmapSourceTransform> transform;
    if (FAILED(frame->QueryInterface(IID_PPV_ARGS(&transform)))) return nullptr;
    WICPixelFormatGUID pixels = GUID_WICPixelFormat24bppBGR;
    BOOL upright = FALSE;
    if (FAILED(transform->GetClosestPixelFormat(&pixels)) ||
        FAILED(transform->DoesSupportTransform(WICBitmapTransformRotate0, &upright)) || !upright)
        return nullptr;
    if (pixels == GUID_WICPixelFormat24bppBGR)
        format = RowFormat::Bgr24;
    else if (pixels == GUID_WICPixelFormat32bppBGRA)
        format = RowFormat::Bgra32;
    else
        return nullptr;
    return transform;
}
} // namespace

DecoderReduction ChooseReduction(PixelSize picture, PixelRect crop, PixelSize target,
                                 const ClosestSize& closest) {
    for (uint32_t scale : kReductions) {
        uint32_t width = (static_cast<uint32_t>(picture.width) + scale - 1) / scale;
        uint32_t height = (static_cast<uint32_t>(picture.height) + scale - 1) / scale;
        if (!closest(width, height) || width == 0 || height == 0 ||
            width >= static_cast<uint32_t>(picture.width) || height >= static_cast<uint32_t>(picture.height))
            continue;
        const PixelSize reduced{static_cast<int>(width), static_cast<int>(height)};
        const PixelRect part = ScaledCrop(crop, picture, reduced);
        if (part.width >= target.width && part.height >= target.height)
            return {(static_cast<uint32_t>(picture.width) + width / 2) / width, reduced, part};
    }
    return {1, picture, crop};
}

uint32_t ReadScaledBands(const ScaledBandsSource& source, PixelRect crop, PixelSize target,
                         const RowResampler::RowSink& sink, const Progress& progress) {
    RowFormat reducedFormat = RowFormat::Bgr24;
    if (ComPtr<IWICBitmapSourceTransform> transform = ReducingTransform(source.frame, reducedFormat)) {
        const DecoderReduction reduction =
            ChooseReduction(source.picture, crop, target, [&](uint32_t& width, uint32_t& height) {
                UINT w = width, h = height;
                if (FAILED(transform->GetClosestSize(&w, &h))) return false;
                width = w;
                height = h;
                return true;
            });
        if (reduction.scale > 1) {
            WICPixelFormatGUID pixels = reducedFormat == RowFormat::Bgr24 ? GUID_WICPixelFormat24bppBGR
                                                                          : GUID_WICPixelFormat32bppBGRA;
            const UINT width = static_cast<UINT>(reduction.picture.width);
            const UINT height = static_cast<UINT>(reduction.picture.height);
            Feed(
                [&](const WICRect& rect, UINT stride, UINT size, BYTE* buffer) {
                    return transform->CopyPixels(&rect, width, height, &pixels, WICBitmapTransformRotate0,
                                                 stride, size, buffer);
                },
                reducedFormat, reduction.crop, target, sink, progress);
            return reduction.scale;
        }
    }
    Feed([&](const WICRect& rect, UINT stride, UINT size,
             BYTE* buffer) { return source.rows->CopyPixels(&rect, stride, size, buffer); },
         source.rowsFormat, crop, target, sink, progress);
    return 1;
}

} // namespace spi
