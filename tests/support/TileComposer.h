#pragma once
// The first version's tiled wallpaper writer, kept for the tests as the
// reference the desktop composer must match byte for byte on one monitor: a
// picture repeated over a screen-sized BMP file from the first tile on.
#include "wallpaper/Placement.h"

#include <windows.h>

#include <string>

class TPicture;

// The size of a screen-sized composition: the primary monitor in physical
// pixels. On scaled screens (Windows 8.1 and later) a program that declares
// no DPI awareness gets scaled-down sizes from GetSystemMetrics; the device's
// desktop resolution is never scaled, and the system keeps scaling the forms.
SIZE WallpaperScreenSize();
// The choice behind it: the device's size when it reports one.
SIZE PhysicalSize(SIZE metrics, SIZE device);

// Writes the screen-sized tiling of the picture to path as a 32-bit BMP. The
// rows are made and written band by band: no screen-sized bitmap is held.
void WriteTiledBitmap(const TPicture& picture, TileStart start, int screenWidth, int screenHeight,
                      const std::wstring& path);
