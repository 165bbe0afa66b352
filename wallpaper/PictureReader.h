#pragma once
// A picture file read as the desktop and the preview show it: upright (the
// file's own orientation tag applied), opaque (transparency laid onto the
// desktop colour) and decoded at the size it is needed at, not larger.
//
// Our own plug-ins decode straight to that size (GetPictureAtSize); every
// other picture is read whole by the program's general loader and scaled
// down here, after which the whole one is let go.
#include "base/PictureGeometry.h"
#include "framework/Exception.h"
#include "framework/Handle.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

class TPicture;

struct DecodedPicture {
    int Width = 0;
    int Height = 0;
    // Top row first, 32-bit blue, green, red and 255.
    std::vector<uint32_t> Pixels;
    bool Empty() const { return Width <= 0 || Height <= 0; }
    std::span<const uint32_t> Row(int y) const {
        return {Pixels.data() + static_cast<size_t>(y) * Width, static_cast<size_t>(Width)};
    }
};

// A picture that could not be read. Code is the load's outcome as the
// preview reports it (see TAll::Error); the text is what the user is told,
// with the file's path.
class EPictureRead : public Exception {
  public:
    EPictureRead(int code, std::wstring text, std::wstring path)
        : Exception(text + L" [" + path + L"]"), Code(code), Text(std::move(text)), Path(std::move(path)) {}
    int Code;
    std::wstring Text;
    std::wstring Path;
};

// The outcome of a picture too large to be held in memory, and its text.
constexpr int kPictureTooLarge = 4;
extern const wchar_t kPictureTooLargeText[];

// The size the whole upright picture is decoded at, chosen from its upright
// size. Larger than the picture means the picture's own size.
using DecodeSize = std::function<PixelSize(PixelSize upright)>;

// The program's general loader for what our plug-ins do not read: the whole
// picture, or null when it failed (and has said so already).
using WholeLoader = std::function<const TPicture*(const std::wstring& path)>;

// Reads path. A failure that our plug-in reports for a picture too large
// raises EPictureRead; any other failure of our plug-ins hands the file to
// `whole`, so that its messages are the ones the user knows. Returns an
// empty picture when `whole` failed.
DecodedPicture ReadPicture(const std::wstring& path, const DecodeSize& size, COLORREF background,
                           const WholeLoader& whole);

// The pixels of a picture the general loader read, upright by the file's tag
// (orientation is 1 for files without one) and opaque on the background:
// bitmaps with alpha, icons and metafiles drawn onto it.
DecodedPicture PixelsOfPicture(const TPicture& picture, int orientation, COLORREF background);

// A part of a picture scaled to a size (area averaging when shrinking,
// bilinear when enlarging); the same size and the whole picture copy it.
DecodedPicture ScaledPart(const DecodedPicture& picture, PixelRect part, PixelSize size);
// The whole picture at a size.
DecodedPicture Scaled(const DecodedPicture& picture, PixelSize size);

// A bitmap of the picture for a window to draw (a 32-bit DIB section).
UniqueBitmap BitmapOfPicture(const DecodedPicture& picture);
