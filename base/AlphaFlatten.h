#pragma once
// Pictures with transparency laid onto an opaque colour (the desktop's), so
// that neither black nor the colour hidden under transparent pixels shows:
// a pixel with alpha 0 becomes the background exactly, one with alpha 255
// keeps its colour exactly, and the alpha of every pixel becomes 255.
#include <windows.h>

#include <cstddef>
#include <cstdint>

enum class AlphaKind {
    Straight,      // colour as it is seen where opaque (PNG, GIF, TIFF, icons)
    Premultiplied, // colour already multiplied by alpha (AlphaBlend bitmaps)
};

// `count` 32-bit BGRA pixels in place; the background as a COLORREF
// (GetSysColor(COLOR_BACKGROUND), for example).
void FlattenAlpha(uint8_t* bgra, size_t count, AlphaKind kind, COLORREF background);
