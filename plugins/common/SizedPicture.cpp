#include "plugins/common/SizedPicture.h"

#include "base/BmpWriter.h"
#include "base/ExifOrientation.h"
#include "plugins/common/DibWriter.h"
#include "plugins/common/PluginCalls.h"
#include "plugins/common/Failure.h"
#include "plugins/common/ScaledBands.h"
#include "plugins/common/SourceData.h"
#include "plugins/common/WicPicture.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace spi {
namespace {
// Larger pictures than GetPicture takes: here only a band of the picture's
// rows is ever held, and the DIB is no larger than asked for.
constexpr uint64_t kMaxSizedSide = 65535;
constexpr uint64_t kMaxSizedPixels = 256ull << 20;

bool WithinSizedLimits(uint64_t width, uint64_t height) {
    return width <= kMaxSizedSide && height <= kMaxSizedSide && width * height <= kMaxSizedPixels;
}

class LockedBlock {
  public:
    explicit LockedBlock(HLOCAL block) : block_(block), bytes_(static_cast<uint8_t*>(LocalLock(block))) {
        if (!bytes_) Fail(susie::MemoryError);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    ~LockedBlock() { LocalUnlock(block_); }
    uint8_t* bytes() const { return bytes_; }

  private:
    HLOCAL block_;
    uint8_t* bytes_;
};

UniqueLocal Allocate(size_t size) {
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
    if (!block) Fail(susie::NoMemory);
    return UniqueLocal(block);
}

bool AllOpaque(const uint8_t* bgra, int width) {
    for (int x = 0; x < width; ++x)
        if (bgra[x * 4 + 3] != 255) return false;
    return true;
}

// The DIB the resampled rows are written into: 32-bit while the picture may
// have transparency, brought down to 24-bit when no pixel turned out to.
class SizedDib {
  public:
    SizedDib(PixelSize size, bool mayHaveAlpha)
        : size_(size), bits_(mayHaveAlpha ? 32 : 24), info_(Allocate(sizeof(BITMAPINFO))),
          pixels_(Allocate(Stride() * static_cast<size_t>(size.height))), locked_(pixels_.get()) {}

    // Row y from the top; the DIB's rows go bottom-up.
    void WriteRow(int y, const uint8_t* bgra) {
        uint8_t* row = locked_.bytes() + Stride() * static_cast<size_t>(size_.height - 1 - y);
        if (bits_ == 32) {
            std::memcpy(row, bgra, static_cast<size_t>(size_.width) * 4);
            opaque_ = opaque_ && AllOpaque(bgra, size_.width);
            return;
        }
        for (int x = 0; x < size_.width; ++x, row += 3, bgra += 4)
            std::memcpy(row, bgra, 3);
    }

    // The finished blocks; `hasAlpha` tells whether they are 32-bit.
    Dib Finish(bool& hasAlpha) {
        if (bits_ == 32 && opaque_) ToOpaque();
        hasAlpha = bits_ == 32;
        BITMAPINFOHEADER header = DibHeader(size_.width, size_.height, bits_);
        header.biSizeImage = static_cast<DWORD>(Stride() * static_cast<size_t>(size_.height));
        std::memcpy(LockedBlock(info_.get()).bytes(), &header, sizeof(header));
        return {std::move(info_), std::move(pixels_)};
    }

  private:
    size_t Stride() const {
        return static_cast<size_t>(DibStride(static_cast<uint64_t>(size_.width), bits_));
    }

    // 32-bit rows into 24-bit ones in place: each pixel moves to a lower or
    // equal address, after every pixel read before it. The block is left
    // at its size (the header tells what is used).
    void ToOpaque() {
        const size_t wide = Stride();
        bits_ = 24;
        const size_t narrow = Stride();
        uint8_t* base = locked_.bytes();
        for (int y = 0; y < size_.height; ++y) {
            const uint8_t* from = base + wide * static_cast<size_t>(y);
            uint8_t* to = base + narrow * static_cast<size_t>(y);
            for (int x = 0; x < size_.width; ++x, from += 4, to += 3) {
                const uint8_t pixel[3] = {from[0], from[1], from[2]};
                std::memcpy(to, pixel, 3);
            }
            std::memset(to, 0, narrow - static_cast<size_t>(size_.width) * 3);
        }
    }

    PixelSize size_;
    int bits_;
    bool opaque_ = true;
    UniqueLocal info_;
    UniqueLocal pixels_;
    LockedBlock locked_;
};

// Whether the frame can have transparency: a palette with a colour that is
// not opaque (the format of a palette picture says nothing: Wine calls every
// indexed format opaque), else a pixel format that carries alpha. Yes when
// WIC cannot tell.
bool MayHaveAlpha(const WicPicture& picture) {
    const std::vector<WICColor> palette = picture.Palette();
    if (!palette.empty())
        return std::any_of(palette.begin(), palette.end(), [](WICColor c) { return c >> 24 != 0xFF; });
    WICPixelFormatGUID format{};
    ComPtr<IWICComponentInfo> component;
    ComPtr<IWICPixelFormatInfo2> info;
    BOOL transparency = TRUE;
    if (FAILED(picture.Frame()->GetPixelFormat(&format)) ||
        FAILED(picture.Factory()->CreateComponentInfo(format, &component)) || FAILED(component.As(&info)) ||
        FAILED(info->SupportsTransparency(&transparency)))
        return true;
    return transparency != FALSE;
}

PixelSize FrameSize(const WicPicture& picture) {
    UINT width = 0, height = 0;
    Check(picture.Frame()->GetSize(&width, &height), susie::BrokenData);
    if (width == 0 || height == 0) Fail(susie::BrokenData);
    if (!WithinSizedLimits(width, height)) Fail(susie::NoMemory);
    return {static_cast<int>(width), static_cast<int>(height)};
}

// The crop and size asked for, checked against the picture.
struct Target {
    PixelRect crop;
    PixelSize size;
};

Target CheckedTarget(const susie::SizedRequest* request, PixelSize picture) {
    if (!request || request->size < sizeof(susie::SizedRequest) || request->width <= 0 ||
        request->height <= 0)
        Fail(susie::InternalError);
    if (!WithinLimits(static_cast<uint64_t>(request->width), static_cast<uint64_t>(request->height)))
        Fail(susie::NoMemory);
    Target target{{0, 0, picture.width, picture.height}, {request->width, request->height}};
    if (request->cropWidth == 0 || request->cropHeight == 0) return target;
    const PixelRect crop{request->cropLeft, request->cropTop, request->cropWidth, request->cropHeight};
    if (crop.left < 0 || crop.top < 0 || crop.width < 0 || crop.height < 0 ||
        int64_t{crop.left} + crop.width > picture.width || int64_t{crop.top} + crop.height > picture.height)
        Fail(susie::InternalError);
    target.crop = crop;
    return target;
}

void DecodeAtSize(const WicPicture& picture, const SizedCall& call, susie::SizedResult& result, HLOCAL* bitmapInfo,
                  HLOCAL* pixels) {
    const PixelSize stored = FrameSize(picture);
    result.pictureWidth = stored.width;
    result.pictureHeight = stored.height;
    if (!bitmapInfo) return;

    const Target target = CheckedTarget(call.request, stored);
    ComPtr<IWICBitmapSource> native = picture.NativeBgr();
    ComPtr<IWICBitmapSource> rows = native ? native : picture.Bgra();
    const ScaledBandsSource bands{picture.Frame(), rows.Get(), native ? RowFormat::Bgr24 : RowFormat::Bgra32,
                                  stored};
    SizedDib dib(target.size, !native && MayHaveAlpha(picture));
    result.decoderScale = ReadScaledBands(
        bands, target.crop, target.size, [&](int y, const uint8_t* bgra) { dib.WriteRow(y, bgra); },
        Progress(call.progress, call.progressData));
    bool hasAlpha = false;
    Dib finished = dib.Finish(hasAlpha);
    if (hasAlpha) result.flags |= susie::kSizedHasAlpha;
    *bitmapInfo = finished.info.release();
    *pixels = finished.bits.release();
}
} // namespace

void ReadSizedPicture(const SpiFormat& format, const SizedCall& call, susie::SizedResult& result,
                      HLOCAL* bitmapInfo, HLOCAL* pixels) {
    const OwnSource source = OpenOwnFormat(format, call.path, call.offset, call.flag, WithinSizedLimits);
    const std::span<const uint8_t> bytes = source.data.bytes();
    result.orientation = source.orientation;
    result.flags = 0;
    result.decoderScale = 1;
    const bool decode = bitmapInfo && pixels;
    // Telling the size from the header spares a decoder that decodes on opening.
    FrameInfo header;
    if (!decode && format.headerInfo && format.headerInfo(bytes, header)) {
        result.pictureWidth = static_cast<int32_t>(header.width);
        result.pictureHeight = static_cast<int32_t>(header.height);
        return;
    }
    UnsupportedWhenUncommon(format, bytes, [&] {
        ComScope com;
        const WicPicture picture(bytes, *format.container, source.corrections);
        DecodeAtSize(picture, call, result, decode ? bitmapInfo : nullptr, pixels);
        return 0;
    });
}


} // namespace spi
