#include "wallpaper/PictureReader.h"

#include "base/AlphaFlatten.h"
#include "base/ExifOrientation.h"
#include "base/Orientation.h"
#include "base/RowResampler.h"
#include "framework/TPicture.h"
#include "wallpaper/PictureRules.h"
#include "wallpaper/SpiPlugin.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

const wchar_t kPictureTooLargeText[] = L"画像が大きすぎます";

namespace {
constexpr uint32_t kOpaque = 0xFF000000u;
// Pictures a plug-in does not recognise at the start of the file may be data
// behind a 128-byte header, as the general loader tries too.
constexpr LONG_PTR kRetryOffset = 128;

DecodedPicture Blank(int width, int height) {
    DecodedPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.resize(static_cast<size_t>(width) * height);
    return picture;
}

// Never larger than the picture, never without pixels.
PixelSize Bounded(PixelSize wanted, PixelSize picture) {
    return {std::clamp(wanted.width, 1, picture.width), std::clamp(wanted.height, 1, picture.height)};
}

DecodedPicture Oriented(DecodedPicture picture, int orientation) {
    if (orientation < 2 || orientation > 8) return picture;
    const PixelSize stored{picture.Width, picture.Height};
    const PixelSize shown = OrientedSize(stored, orientation);
    DecodedPicture turned = Blank(shown.width, shown.height);
    OrientPixels(picture.Pixels.data(), ptrdiff_t{picture.Width} * 4, stored, orientation, turned.Pixels.data(),
                 ptrdiff_t{turned.Width} * 4);
    return turned;
}

void MakeOpaque(std::span<uint32_t> pixels) {
    for (uint32_t& pixel : pixels)
        pixel |= kOpaque;
}

// A DIB our plug-in decoded at the size asked for: 24-bit, or 32-bit with
// straight alpha when it says so. Nothing when it is not what was asked.
std::optional<DecodedPicture> PixelsOfDib(const TSpiDib& dib, PixelSize size, bool hasAlpha,
                                          COLORREF background) {
    TLockedDib locked(dib);
    if (!locked.Valid()) return std::nullopt;
    const BITMAPINFOHEADER& header = locked.Header();
    const int bits = header.biBitCount;
    if (header.biCompression != BI_RGB || (bits != 24 && bits != 32) || locked.Width() != size.width ||
        locked.Height() != size.height)
        return std::nullopt;
    DecodedPicture picture = Blank(size.width, size.height);
    const size_t stride = (static_cast<size_t>(size.width) * bits / 8 + 3) & ~size_t{3};
    const auto* rows = static_cast<const uint8_t*>(locked.Bits());
    for (int y = 0; y < size.height; ++y) {
        const uint8_t* in = rows + stride * static_cast<size_t>(header.biHeight > 0 ? size.height - 1 - y : y);
        uint32_t* out = picture.Pixels.data() + static_cast<size_t>(y) * size.width;
        if (bits == 32) {
            std::memcpy(out, in, static_cast<size_t>(size.width) * 4);
            continue;
        }
        for (int x = 0; x < size.width; ++x, in += 3)
            out[x] = in[0] | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16;
    }
    if (bits == 32 && hasAlpha)
        FlattenAlpha(reinterpret_cast<uint8_t*>(picture.Pixels.data()), picture.Pixels.size(), AlphaKind::Straight,
                     background);
    else
        MakeOpaque(picture.Pixels);
    return picture;
}

// Our plug-in asked for the size, then for the picture at the size wanted.
// Nothing when the plug-in is not ours or cannot read the file: the general
// loader then reads it and says why.
std::optional<DecodedPicture> ReadSized(const std::wstring& path, TPictureFileKind kind, const DecodeSize& size,
                                        COLORREF background) {
    std::optional<TSpiLibrary> library = TSpiLibrary::Load(PluginOf(kind).Library, false);
    if (!library || !library->HasSizedDecode()) return std::nullopt;
    std::optional<std::string> ansi = PluginPathFor(path);
    if (!ansi) return std::nullopt;
    susie::SizedResult result{};
    LONG_PTR offset = 0;
    int code = library->GetPictureAtSize(*ansi, offset, nullptr, result, nullptr);
    if (code == susie::UnknownFormat && !library->Fault()) {
        code = library->GetPictureAtSize(*ansi, kRetryOffset, nullptr, result, nullptr);
        if (code == susie::Success) offset = kRetryOffset;
    }
    if (library->Fault()) return std::nullopt;
    if (code == susie::NoMemory) throw EPictureRead(kPictureTooLarge, kPictureTooLargeText, path);
    const PixelSize stored{result.pictureWidth, result.pictureHeight};
    if (code != susie::Success || stored.width <= 0 || stored.height <= 0) return std::nullopt;
    const int orientation = result.orientation;
    const PixelSize shown = Bounded(size(OrientedSize(stored, orientation)), OrientedSize(stored, orientation));
    // Asked for in the picture's stored orientation: sides swap for 5 to 8.
    const PixelSize asked = OrientedSize(shown, orientation);
    const susie::SizedRequest request{sizeof(susie::SizedRequest), asked.width, asked.height, 0, 0, 0, 0};
    TSpiDib dib;
    code = library->GetPictureAtSize(*ansi, offset, &request, result, &dib);
    if (library->Fault()) return std::nullopt;
    if (code == susie::NoMemory) throw EPictureRead(kPictureTooLarge, kPictureTooLargeText, path);
    if (code != susie::Success) return std::nullopt;
    std::optional<DecodedPicture> pixels =
        PixelsOfDib(dib, asked, (result.flags & susie::kSizedHasAlpha) != 0, background);
    dib = {};
    if (!pixels) return std::nullopt;
    return Oriented(std::move(*pixels), orientation);
}

// The pixels of a bitmap as 32-bit top-down rows; its alpha as the bitmap
// has it (a 32-bit DIB section keeps its own).
DecodedPicture BitmapPixels(HBITMAP bitmap, int width, int height) {
    DecodedPicture picture = Blank(width, height);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    WindowDC screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), picture.Pixels.data(), &info,
                  DIB_RGB_COLORS) != height)
        return {};
    return picture;
}

// Only a 32-bit bitmap of its own can carry alpha; one whose alpha is all 0
// or all 255 has none that means anything.
bool CarriesAlpha(HBITMAP bitmap, std::span<const uint32_t> pixels) {
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || section.dsBm.bmBitsPixel != 32)
        return false;
    bool clear = false, solid = false;
    for (uint32_t pixel : pixels) {
        const uint32_t alpha = pixel >> 24;
        clear = clear || alpha != 255;
        solid = solid || alpha != 0;
        if (clear && solid) return true;
    }
    return false;
}

// Icons and metafiles drawn onto the background, as the desktop would.
DecodedPicture DrawnPixels(const TPicture& picture, COLORREF background) {
    const int width = picture.Width(), height = picture.Height();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    WindowDC screen(nullptr);
    UniqueBitmap canvas(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!canvas) throw std::bad_alloc();
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    {
        SelectGuard select(dc.get(), canvas.get());
        UniqueBrush brush(CreateSolidBrush(background));
        RECT all{0, 0, width, height};
        FillRect(dc.get(), &all, brush.get());
        picture.Draw(dc.get(), all);
        GdiFlush();
    }
    DecodedPicture pixels = Blank(width, height);
    std::memcpy(pixels.Pixels.data(), bits, pixels.Pixels.size() * 4);
    MakeOpaque(pixels.Pixels);
    return pixels;
}
} // namespace

DecodedPicture PixelsOfPicture(const TPicture& picture, int orientation, COLORREF background) {
    if (picture.Empty() || picture.Width() <= 0 || picture.Height() <= 0) return {};
    DecodedPicture pixels;
    if (picture.Kind() == TPictureKind::Bitmap) {
        pixels = BitmapPixels(picture.Bitmap(), picture.Width(), picture.Height());
        if (pixels.Empty()) return {};
        if (CarriesAlpha(picture.Bitmap(), pixels.Pixels))
            FlattenAlpha(reinterpret_cast<uint8_t*>(pixels.Pixels.data()), pixels.Pixels.size(),
                         AlphaKind::Straight, background);
        else
            MakeOpaque(pixels.Pixels);
    } else {
        pixels = DrawnPixels(picture, background);
    }
    return Oriented(std::move(pixels), orientation);
}

DecodedPicture ReadPicture(const std::wstring& path, const DecodeSize& size, COLORREF background,
                           const WholeLoader& whole) {
    try {
        const std::optional<TPictureFileKind> kind = PictureKindOf(path);
        if (kind && *kind != pkFramework) {
            if (std::optional<DecodedPicture> sized = ReadSized(path, *kind, size, background))
                return std::move(*sized);
        }
        const TPicture* picture = whole(path);
        if (!picture) return {};
        // Whichever plug-in read a photo, its tag is read from the file.
        const int orientation = kind == pkJpeg || kind == pkTiff ? FileOrientation(path.c_str()) : 1;
        DecodedPicture full = PixelsOfPicture(*picture, orientation, background);
        if (full.Empty()) return full;
        const PixelSize own{full.Width, full.Height};
        const PixelSize wanted = Bounded(size(own), own);
        if (wanted == own) return full;
        return Scaled(full, wanted);
    } catch (const std::bad_alloc&) {
        throw EPictureRead(kPictureTooLarge, kPictureTooLargeText, path);
    }
}

DecodedPicture ScaledPart(const DecodedPicture& picture, PixelRect part, PixelSize size) {
    if (part.left == 0 && part.top == 0 && part.width == picture.Width && part.height == picture.Height &&
        size == PixelSize{picture.Width, picture.Height})
        return picture;
    DecodedPicture scaled = Blank(size.width, size.height);
    RowResampler resampler({part.width, part.height}, size, RowFormat::Bgra32, [&](int y, const uint8_t* bgra) {
        std::memcpy(scaled.Pixels.data() + static_cast<size_t>(y) * size.width, bgra,
                    static_cast<size_t>(size.width) * 4);
    });
    const uint32_t* first = picture.Pixels.data() + static_cast<size_t>(part.top) * picture.Width + part.left;
    resampler.Push(reinterpret_cast<const uint8_t*>(first), ptrdiff_t{picture.Width} * 4, part.height);
    return scaled;
}

DecodedPicture Scaled(const DecodedPicture& picture, PixelSize size) {
    return ScaledPart(picture, {0, 0, picture.Width, picture.Height}, size);
}

UniqueBitmap BitmapOfPicture(const DecodedPicture& picture) {
    if (picture.Empty()) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.Width, -picture.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return {};
    std::memcpy(bits, picture.Pixels.data(), picture.Pixels.size() * 4);
    return bitmap;
}
