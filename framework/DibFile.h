#pragma once
// Bitmap and icon files read from their bytes. Nothing in a file is trusted:
// every header field, offset, dimension, depth and colour count is checked
// against the real length before a byte is read or handed to the system, so
// a file cut short or made up is refused instead of read past its end.
#include "framework/Handle.h"

#include <cstddef>
#include <optional>
#include <span>

// The largest picture the loader takes: a side of 32,767 pixels and 256 MB of
// pixel data (64 megapixels at 32 bits). A picture file longer than the pixel
// limit plus 1 MB is refused unread.
constexpr int kMaxPictureSide = 32767;
constexpr size_t kMaxPictureBytes = 256u << 20;
constexpr size_t kMaxPictureFileBytes = kMaxPictureBytes + (1u << 20);

// A BMP file (core, info and V4/V5 headers; 1 to 32 bits; uncompressed,
// bit fields, RLE4 and RLE8) decoded into a DIB section of its own depth and
// colour table. Null for a file that is not such a bitmap, or is damaged.
UniqueBitmap DecodeBmpFile(std::span<const BYTE> file);

// What one image of an icon file (a DIB with its mask, or a PNG) is, as the
// image itself says.
struct IconImageShape {
    int Width = 0;
    int Height = 0;
    int BitCount = 0; // a PNG counts as 32
};

// The image's shape when it is whole (its sizes agree with one another and
// with the bytes it has); nothing otherwise.
std::optional<IconImageShape> ValidIconImage(std::span<const BYTE> image);

// True when a packed BITMAPINFO (a core or info header and its colour table,
// at the start of `info`) describes a picture within the limits whose pixel
// data takes at most `bitsSize` bytes. `infoSize` receives the header and
// table's length.
bool ValidPackedDib(std::span<const BYTE> info, size_t bitsSize, size_t* infoSize = nullptr);
