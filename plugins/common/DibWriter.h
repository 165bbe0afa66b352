#pragma once
// Writes a decoded picture as the two movable memory blocks a host expects:
// a BITMAPINFO and the bottom-up pixel rows of a device-independent bitmap.
#include "base/UniqueHandle.h"
#include "plugins/SusieApi.h"

#include <wincodec.h>

#include <cstdint>
#include <span>

namespace spi {

namespace detail {
inline void FreeLocal(HLOCAL h) {
    LocalFree(h);
}
} // namespace detail
using UniqueLocal = UniqueHandle<HLOCAL, detail::FreeLocal>;

// The host's progress callback; a non-zero answer stops the call (Cancelled).
class Progress {
  public:
    Progress(susie::ProgressCallback callback, LONG_PTR data) : callback_(callback), data_(data) {}
    void Report(int done, int total) const;

  private:
    susie::ProgressCallback callback_;
    LONG_PTR data_;
};

struct Dib {
    UniqueLocal info;
    UniqueLocal bits;
};

struct DibSource {
    IWICBitmapSource* bgra; // 32-bit BGRA pixels
    // The same pixels in 24-bit BGR when the decoder delivers them so (used
    // instead of bgra for 24-bit rows); may be null.
    IWICBitmapSource* bgr;
    uint32_t width;
    uint32_t height;
    // When not empty the rows become 8-bit indices into these colours
    // (which every pixel of the source is one of), else 24-bit BGR.
    std::span<const WICColor> palette;
    double dpiX;
    double dpiY;
};

// Throws Failure: NoMemory, BrokenData when the pixels cannot be read,
// Cancelled when the progress callback says so.
Dib WriteDib(const DibSource& source, const Progress& progress);

} // namespace spi
