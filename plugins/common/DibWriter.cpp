#include "plugins/common/DibWriter.h"

#include "base/BmpWriter.h"

#include "plugins/common/Failure.h"
#include "plugins/common/WicPicture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <vector>

namespace spi {
namespace {
// Pixels are fetched in strips of about this many bytes, so a large picture
// never needs a second full-size buffer and progress can be told per strip.
constexpr size_t kStripBytes = 256 * 1024;

class LocalLockGuard {
  public:
    explicit LocalLockGuard(HLOCAL block) : block_(block), ptr_(static_cast<uint8_t*>(LocalLock(block))) {
        if (!ptr_) Fail(susie::MemoryError);
    }
    LocalLockGuard(const LocalLockGuard&) = delete;
    LocalLockGuard& operator=(const LocalLockGuard&) = delete;
    ~LocalLockGuard() { LocalUnlock(block_); }
    uint8_t* get() const { return ptr_; }

  private:
    HLOCAL block_;
    uint8_t* ptr_;
};

// The pixel block is written whole, row padding included: not zeroed first.
UniqueLocal Allocate(size_t size, UINT zero = LMEM_ZEROINIT) {
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | zero, size);
    if (!block) Fail(susie::NoMemory);
    return UniqueLocal(block);
}

LONG PelsPerMeter(double dpi) {
    if (!std::isfinite(dpi) || dpi <= 0 || dpi > 100000) return 0;
    return static_cast<LONG>(std::lround(dpi / 0.0254));
}

// Maps BGRA pixels back to the palette they were expanded from.
class PaletteIndex {
  public:
    explicit PaletteIndex(std::span<const WICColor> palette) : palette_(palette) {
        for (size_t i = palette.size(); i-- > 0;)
            index_[palette[i]] = static_cast<uint8_t>(i);
    }
    uint8_t Find(WICColor color) {
        if (auto found = index_.find(color); found != index_.end()) return found->second;
        // A converter that did not keep the colours exactly: take the nearest.
        const uint8_t nearest = Nearest(color);
        index_[color] = nearest;
        return nearest;
    }

  private:
    uint8_t Nearest(WICColor color) const {
        auto distance = [color](WICColor other) {
            long d = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const long delta =
                    static_cast<long>((color >> shift) & 0xFF) - static_cast<long>((other >> shift) & 0xFF);
                d += delta * delta;
            }
            return d;
        };
        size_t best = 0;
        for (size_t i = 1; i < palette_.size(); ++i)
            if (distance(palette_[i]) < distance(palette_[best])) best = i;
        return static_cast<uint8_t>(best);
    }

    std::span<const WICColor> palette_;
    std::unordered_map<WICColor, uint8_t> index_;
};

void WriteHeader(uint8_t* block, const DibSource& source, uint32_t bits, size_t imageSize) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = static_cast<LONG>(source.width);
    header.biHeight = static_cast<LONG>(source.height); // positive: bottom-up rows
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageSize);
    header.biXPelsPerMeter = PelsPerMeter(source.dpiX);
    header.biYPelsPerMeter = PelsPerMeter(source.dpiY);
    header.biClrUsed = static_cast<DWORD>(source.palette.size());
    std::memcpy(block, &header, sizeof(header));
    auto* table = block + sizeof(header);
    for (WICColor color : source.palette) {
        const RGBQUAD entry{static_cast<BYTE>(color), static_cast<BYTE>(color >> 8),
                            static_cast<BYTE>(color >> 16), 0};
        std::memcpy(table, &entry, sizeof(entry));
        table += sizeof(entry);
    }
}
} // namespace

void Progress::Report(int done, int total) const {
    if (callback_ && callback_(done, total, data_) != 0) Fail(susie::Cancelled);
}

Dib WriteDib(const DibSource& source, const Progress& progress) {
    const uint32_t bits = source.palette.empty() ? 24 : 8;
    // Row and image sizes must fit the 32-bit fields of WIC and the header.
    if (source.width > std::numeric_limits<UINT>::max() / 4) Fail(susie::NoMemory);
    const size_t stride = static_cast<size_t>(::DibStride(source.width, bits));
    const size_t inStride = static_cast<size_t>(source.width) * 4;
    if (source.height > std::numeric_limits<DWORD>::max() / stride) Fail(susie::NoMemory);
    const size_t imageSize = stride * source.height;

    Dib dib;
    dib.info = Allocate(
        std::max(sizeof(BITMAPINFOHEADER) + source.palette.size() * sizeof(RGBQUAD), sizeof(BITMAPINFO)));
    WriteHeader(LocalLockGuard(dib.info.get()).get(), source, bits, imageSize);
    dib.bits = Allocate(imageSize, 0);
    LocalLockGuard out(dib.bits.get());
    const size_t used = static_cast<size_t>(source.width) * bits / 8;
    for (uint32_t y = 0; y < source.height; ++y)
        std::memset(out.get() + stride * y + used, 0, stride - used);

    const int total = static_cast<int>(source.height);
    const uint32_t rowsPerStrip =
        static_cast<uint32_t>(std::clamp<size_t>(kStripBytes / inStride, 1, source.height));
    auto row = [&](uint32_t y) { return out.get() + stride * (source.height - 1 - y); };
    progress.Report(0, total);
    if (bits == 24 && source.bgr) {
        // Straight into the bottom-up rows: no conversion, no second buffer.
        for (uint32_t y = 0; y < source.height; ++y) {
            const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(source.width), 1};
            Check(source.bgr->CopyPixels(&rect, static_cast<UINT>(used), static_cast<UINT>(used), row(y)),
                  susie::BrokenData);
            if ((y + 1) % rowsPerStrip == 0 || y + 1 == source.height)
                progress.Report(static_cast<int>(y + 1), total);
        }
        return dib;
    }

    PaletteIndex index(source.palette);
    std::vector<uint8_t> strip(inStride * rowsPerStrip);
    for (uint32_t y = 0; y < source.height; y += rowsPerStrip) {
        const uint32_t rows = std::min(rowsPerStrip, source.height - y);
        const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(source.width), static_cast<INT>(rows)};
        Check(source.bgra->CopyPixels(&rect, static_cast<UINT>(inStride), static_cast<UINT>(inStride * rows),
                                      strip.data()),
              susie::BrokenData);
        for (uint32_t r = 0; r < rows; ++r) {
            const uint8_t* in = strip.data() + inStride * r;
            uint8_t* outRow = row(y + r);
            if (bits == 24) {
                for (uint32_t x = 0; x < source.width; ++x, in += 4, outRow += 3) {
                    outRow[0] = in[0];
                    outRow[1] = in[1];
                    outRow[2] = in[2];
                }
            } else {
                for (uint32_t x = 0; x < source.width; ++x, in += 4) {
                    WICColor color;
                    std::memcpy(&color, in, sizeof(color));
                    outRow[x] = index.Find(color);
                }
            }
        }
        progress.Report(static_cast<int>(y + rows), total);
    }
    return dib;
}

} // namespace spi
