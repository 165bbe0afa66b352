#include "wallpaper/TAll.h"

#include "base/BmpWriter.h"
#include "base/ColorPalette.h"
#include "framework/Exception.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/Text.h"
#include "wallpaper/SpiPlugin.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {
constexpr int kInvalidPicture = 2;
constexpr int kUnsupportedExtension = 10;
constexpr int kPluginMissing = 20;
constexpr int kPathUnusable = 21;
constexpr int kPluginFault = 22;
// A decoded picture that cannot be converted counts as the plug-in's own
// error; a bitmap that cannot be created as a memory shortage.
constexpr int kUnusableDib = susie::InternalError;
constexpr int kNoBitmap = susie::NoMemory;
constexpr LONG_PTR kRetryOffset = 128;
// Bytes of the screen's rows converted from a decoded picture at a time.
constexpr size_t kConvertBandBytes = 256 * 1024;

int ScreenBitsPerPixel() {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), BITSPIXEL);
}

// A bitmap in the screen's own format.
UniqueBitmap ScreenBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    WindowDC screen(nullptr);
    return UniqueBitmap(CreateCompatibleBitmap(screen.get(), width, height));
}

// The logical palette of a DIB's colour table.
UniquePalette BuildPalette(const TLockedDib& dib) {
    const int count = PaletteEntryCount(dib.Header().biBitCount, dib.Header().biClrUsed);
    return UniquePalette(CreateColorPalette(std::span<const RGBQUAD>(dib.Colors(), count)));
}

// PIC and PIC2 pixels need not be square: the picture is stretched by the
// densities the plug-in reports. Without them it is shown as decoded.
UniqueBitmap CorrectAspect(TSpiLibrary& library, const std::string& path, UniqueBitmap decoded,
                           HPALETTE palette) {
    TSpiPictureInfo info;
    if (library.GetPictureInfo(path, 0, info) != susie::Success) return decoded;
    BITMAP bm{};
    GetObjectW(decoded.get(), sizeof(bm), &bm);
    std::optional<SIZE> size = AspectCorrectedSize(bm.bmWidth, bm.bmHeight, info.XDensity, info.YDensity);
    if (!size) return decoded;
    UniqueBitmap corrected = ScreenBitmap(size->cx, size->cy);
    if (!corrected) return decoded;
    WindowDC screen(nullptr);
    UniqueDC source(CreateCompatibleDC(screen.get())), target(CreateCompatibleDC(screen.get()));
    SelectGuard selectSource(source.get(), decoded.get());
    SelectGuard selectTarget(target.get(), corrected.get());
    PaletteGuard sourcePalette(source.get(), palette), targetPalette(target.get(), palette);
    SetStretchBltMode(target.get(), COLORONCOLOR);
    StretchBlt(target.get(), 0, 0, size->cx, size->cy, source.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    return corrected;
}
} // namespace

TAll::TAll(TComponent* owner, TWinControl& parent) : TImage(owner, parent) {
    SetAutoSize(true);
}

void TAll::SetPictureName(const std::wstring& name) {
    pictureName_ = name;
    Picture().Clear();
    PictureChanged();
    if (name.empty()) {
        error_ = 0;
        return;
    }
    ReadPicture();
}

void TAll::ShowPicture(const std::wstring& name, UniqueBitmap bitmap) {
    pictureName_ = name;
    error_ = 0;
    Picture().AssignBitmap(std::move(bitmap));
    PictureChanged();
}

void TAll::ShowFailure(const std::wstring& name, int error, const std::wstring& text) {
    pictureName_ = name;
    Picture().Clear();
    Fail(error, text);
}

void TAll::SetPreView(bool value) {
    preView_ = value;
    // The picture shown stays until the new one is read.
    if (!pictureName_.empty()) ReadPicture();
}

void TAll::ResetOriginal() {
    orgWidth_ = 0;
    orgHeight_ = 0;
}

void TAll::Fail(int error, const std::wstring& text) {
    error_ = error;
    std::wstring path = std::move(pictureName_);
    pictureName_.clear();
    PictureChanged();
    if (Application) Application->ModalUI().ShowMessage(FormatText(L"%s [%s]", {text, path}));
}

void TAll::ReadPicture() {
    error_ = 0;
    std::optional<TPictureFileKind> kind = PictureKindOf(pictureName_);
    if (kind == pkFramework) {
        // Only an invalid picture is reported here; any other failure of the
        // loader (a file that cannot be opened) goes to the caller.
        try {
            Picture().LoadFromFile(pictureName_);
        } catch (const EInvalidGraphic&) {
            Fail(kInvalidPicture, L"未知のフォーマット");
            return;
        }
        preView_ = false;
        ResetOriginal();
        PictureChanged();
        return;
    }
    if (!kind) {
        preView_ = false;
        ResetOriginal();
        Fail(kUnsupportedExtension, L"サポートされない拡張子");
        return;
    }
    ReadWithPlugin(*kind);
}

void TAll::ReadWithPlugin(TPictureFileKind kind) {
    bool withInfo = kind == pkJpeg || kind == pkPic || kind == pkPic2;
    int result = 0;
    std::optional<DWORD> fault;
    {
        // Loaded for this picture only, and released before the user is told.
        std::optional<TSpiLibrary> library = TSpiLibrary::Load(PluginOf(kind).Library, withInfo);
        if (kind != pkJpeg) {
            preView_ = false;
            ResetOriginal();
        }
        if (!library) {
            Fail(kPluginMissing, PluginNotFoundText(kind));
            return;
        }
        // The plug-in reads at most 255 bytes of path and opens the file
        // with the ANSI API; a path it cannot take is never cut short.
        std::optional<std::string> path = PluginPathFor(pictureName_);
        if (!path) {
            library.reset();
            Fail(kPathUnusable, L"プラグインに渡せないファイル名");
            return;
        }
        result = kind == pkJpeg ? ReadJpeg(*library, *path) : ReadGeneral(*library, *path, kind);
        fault = library->Fault();
    }
    // A plug-in that faulted is released by now like any other, so the next
    // picture loads it afresh.
    if (fault)
        Fail(kPluginFault, PluginFaultText(kind, *fault));
    else if (result != susie::Success)
        Fail(result, PluginResultText(result));
}

int TAll::ReadJpeg(TSpiLibrary& library, const std::string& path) {
    TSpiPictureInfo info;
    LONG_PTR offset = 0;
    int result = library.GetPictureInfo(path, 0, info);
    if (result != susie::Success) {
        result = library.GetPictureInfo(path, kRetryOffset, info);
        if (result == susie::Success) offset = kRetryOffset;
    }
    if (result != susie::Success) return result;
    orgWidth_ = info.Width;
    orgHeight_ = info.Height;
    int width = preView_ ? PreviewExtent(info.Width) : info.Width;
    int height = preView_ ? PreviewExtent(info.Height) : info.Height;
    if (width <= 0 || height <= 0) return kUnusableDib;
    UniqueBitmap bitmap = ScreenBitmap(width, height);
    if (!bitmap) return kNoBitmap;
    TSpiDib dib;
    result = preView_ ? library.GetPreview(path, offset, dib) : library.GetPicture(path, offset, dib);
    if (result != susie::Success) return result;
    {
        TLockedDib locked(dib);
        if (!locked.Valid() || !ConvertDib(locked, bitmap.get(), nullptr)) return kUnusableDib;
    }
    // No palette for JPEG pictures: they are full-colour.
    Picture().AssignBitmap(std::move(bitmap));
    PictureChanged();
    return susie::Success;
}

int TAll::ReadGeneral(TSpiLibrary& library, const std::string& path, TPictureFileKind kind) {
    TSpiDib dib;
    int result = library.GetPicture(path, 0, dib);
    // Only an unrecognised format may be data behind a 128-byte header.
    if (result == susie::UnknownFormat) result = library.GetPicture(path, kRetryOffset, dib);
    if (result != susie::Success) return result;
    UniqueBitmap decoded;
    UniquePalette palette;
    {
        TLockedDib locked(dib);
        if (!locked.Valid()) return kUnusableDib;
        decoded = ScreenBitmap(locked.Width(), locked.Height());
        if (!decoded) return kNoBitmap;
        if (NeedsPalette(locked.Header().biBitCount, ScreenBitsPerPixel())) palette = BuildPalette(locked);
        if (!ConvertDib(locked, decoded.get(), palette.get())) return kUnusableDib;
    }
    dib = {};
    HPALETTE built = palette.get();
    if (kind == pkPic || kind == pkPic2) decoded = CorrectAspect(library, path, std::move(decoded), built);
    if (library.Fault()) return kPluginFaulted;
    // The bitmap owns its palette from now on.
    Picture().AssignBitmap(std::move(decoded), std::move(palette));
    if (built) RealizeOnForm(built);
    PictureChanged();
    return susie::Success;
}

bool TAll::ConvertDib(const TLockedDib& dib, HBITMAP bitmap, HPALETTE palette) const {
    WindowDC dc(Handle());
    PaletteGuard select(dc.get(), palette);
    const BITMAPINFOHEADER& header = dib.Header();
    const int height = dib.Height();
    // Converting a whole picture at once makes the system allocate a second
    // picture-sized buffer in the bitmap's format; bands of plain bottom-up
    // rows keep that buffer small.
    if (header.biCompression != BI_RGB || header.biHeight <= 0 || header.biBitCount < 16)
        return SetDIBits(dc.get(), bitmap, 0, height, dib.Bits(), dib.Info(), DIB_RGB_COLORS) != 0;
    const size_t stride =
        static_cast<size_t>(DibStride(static_cast<uint64_t>(header.biWidth), header.biBitCount));
    const size_t screenRow = static_cast<size_t>(header.biWidth) * 4;
    const int bandRows = static_cast<int>(std::clamp<size_t>(kConvertBandBytes / screenRow, 1, height));
    const auto* bits = static_cast<const BYTE*>(dib.Bits());
    for (int first = 0; first < height; first += bandRows) {
        const int rows = std::min(bandRows, height - first);
        if (SetDIBits(dc.get(), bitmap, static_cast<UINT>(first), static_cast<UINT>(rows),
                      bits + stride * first, dib.Info(), DIB_RGB_COLORS) != rows)
            return false;
    }
    return true;
}

void TAll::RealizeOnForm(HPALETTE palette) const {
    for (TWinControl* parent = Parent(); parent; parent = parent->Parent()) {
        if (dynamic_cast<TForm*>(parent)) {
            WindowDC dc(parent->Handle());
            PaletteGuard select(dc.get(), palette);
            return;
        }
    }
}
