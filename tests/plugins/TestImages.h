#pragma once
// Pictures made by the tests: known pixels written through the WIC encoders,
// and temporary files holding them.
#include <windows.h>

#include <wincodec.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testimg {

// 0xRRGGBB of the pixel at (x, y), y counted from the top.
using PixelFn = std::function<uint32_t(uint32_t x, uint32_t y)>;
using Bytes = std::vector<uint8_t>;

// Distinct colours per row and column, so a flipped or shifted row shows.
uint32_t Pattern(uint32_t x, uint32_t y);
// Changes by a few levels a pixel, so a lossy encoder keeps it close.
uint32_t Gradient(uint32_t x, uint32_t y);

// A 24-bit picture (PNG, TIFF, JPEG) with the given pixels.
Bytes EncodeRgb(const GUID& container, uint32_t width, uint32_t height, const PixelFn& pixel);
// An 8-bit palette picture (GIF, PNG): colours 0xRRGGBB, indices per pixel.
Bytes EncodeIndexed(const GUID& container, uint32_t width, uint32_t height,
                    const std::vector<uint32_t>& colours,
                    const std::function<uint8_t(uint32_t x, uint32_t y)>& index);
// A 32-bit PNG with alpha: pixel gives 0xAARRGGBB.
Bytes EncodeRgba(uint32_t width, uint32_t height, const PixelFn& pixel);
// A large 24-bit JPEG, its rows made and written in bands.
Bytes EncodeLargeJpeg(uint32_t width, uint32_t height, const PixelFn& pixel);
// A 24-bit PNG that records its resolution in dots per inch.
Bytes EncodeWithResolution(uint32_t width, uint32_t height, double dpiX, double dpiY);

// A file in the tests' temporary folder; removed when the object goes.
class TempFile {
  public:
    TempFile(const std::wstring& name, const Bytes& content);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();
    const std::wstring& path() const { return path_; }
    // The path in the system code page, as a host passes it.
    std::string ansi() const;

  private:
    std::wstring path_;
};

std::wstring TempFolder();
std::string Ansi(const std::wstring& text);

} // namespace testimg
