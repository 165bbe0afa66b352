#pragma once
// The desktop's wallpaper bitmap written from a layout: each monitor's part
// from its scaled picture, the desktop colour where no monitor shows. The
// rows are made and written band by band: no desktop-sized bitmap is held.
#include "base/BmpWriter.h"
#include "wallpaper/DesktopLayout.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

// A picture already scaled as a ScaleRequest asked, read by rows of 32-bit
// pixels (blue, green, red, 0: what GetDIBits gives), y from the top.
struct ScaledPicture {
    int Width = 0;
    int Height = 0;
    // Width pixels of row y, valid until the next call. Rows come in any
    // order: the bitmap is written from its bottom row up, a monitor's part
    // of it may wrap around, and a tile repeats.
    std::function<const uint32_t*(int y)> Row;
};

// A picture held in memory, rows top first; the pixels must outlive it.
// Too few pixels for the size raise std::invalid_argument.
ScaledPicture PixelsPicture(std::span<const uint32_t> pixels, int width, int height);

// The 32-bit pixel of a colour.
uint32_t DesktopPixel(COLORREF color);

// Writes the bitmap as a 32-bit BMP to out, in bands of about bandBytes.
// pictures holds one picture per layout.Scaled, of the size it asks for;
// anything else raises std::invalid_argument. What the pictures or the sink
// throw passes on.
void ComposeDesktop(const DesktopLayout& layout, std::span<const ScaledPicture> pictures, COLORREF background,
                    size_t bandBytes, const BmpSink& out);

// The same into a file; a file that cannot be written raises Exception.
void WriteDesktopBitmap(const DesktopLayout& layout, std::span<const ScaledPicture> pictures,
                        COLORREF background, const std::wstring& path);
