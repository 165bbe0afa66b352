#include "framework/TPicture.h"

#include "base/ColorPalette.h"
#include "base/ExtensionOf.h"
#include "framework/DibFile.h"
#include "framework/Exception.h"
#include "framework/MetafileCheck.h"
#include "framework/Text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using SixteenBitMasks = std::array<DWORD, 3>;

constexpr int kHundredthMmPerInch = 2540;
constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
constexpr WORD kMetaSetWindowExt = 0x020C;

std::wstring CannotOpen(const std::wstring& path) {
    return FormatText(L"ファイル %s を開けません", {path});
}

UniqueFile OpenForReading(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw Exception(CannotOpen(path));
    return file;
}

// Every picture file is parsed from memory, so each offset can be checked
// against the real file size; one beyond the loader's limit is not read.
std::vector<BYTE> ReadWholeFile(const std::wstring& path, const wchar_t* invalidText) {
    UniqueFile file = OpenForReading(path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) throw Exception(CannotOpen(path));
    if (size.QuadPart > static_cast<LONGLONG>(kMaxPictureFileBytes)) throw EInvalidGraphic(invalidText);
    std::vector<BYTE> data(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!data.empty() &&
        (!ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
         read != data.size()))
        throw Exception(CannotOpen(path));
    return data;
}

template <typename T> bool ReadAt(const std::vector<BYTE>& data, size_t offset, T& out) {
    if (offset > data.size() || data.size() - offset < sizeof(T)) return false;
    std::memcpy(&out, data.data() + offset, sizeof(T));
    return true;
}

int ScreenDpi(int index) {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), index);
}

// Bitmaps of 8 bits or less carry their colour table as a palette, so they
// show their own colours on a palette display.
UniquePalette PaletteFromDibSection(HBITMAP bitmap) {
    DIBSECTION ds{};
    if (GetObjectW(bitmap, sizeof(ds), &ds) != sizeof(ds) || ds.dsBmih.biBitCount > 8) return {};
    UniqueDC dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap);
    RGBQUAD colors[256];
    UINT count = GetDIBColorTable(dc.get(), 0, 256, colors);
    return UniquePalette(CreateColorPalette(std::span<const RGBQUAD>(colors, count)));
}

struct IconDirEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes, imageOffset;
};
static_assert(sizeof(IconDirEntry) == 16);

// One whole image of an icon file.
struct IconImage {
    std::span<const BYTE> Bytes;
    IconImageShape Shape;
};

// The whole images of an icon file, the largest first, then the deepest;
// equal ones in the file's order.
std::vector<IconImage> IconImagesLargestFirst(const std::vector<BYTE>& data, WORD count) {
    std::vector<IconImage> images;
    for (WORD i = 0; i < count; ++i) {
        IconDirEntry entry{};
        if (!ReadAt(data, 6 + i * sizeof(entry), entry)) break;
        if (entry.bytesInRes == 0 || entry.imageOffset > data.size() ||
            data.size() - entry.imageOffset < entry.bytesInRes)
            continue;
        const std::span<const BYTE> bytes =
            std::span<const BYTE>(data).subspan(entry.imageOffset, entry.bytesInRes);
        if (std::optional<IconImageShape> shape = ValidIconImage(bytes)) images.push_back({bytes, *shape});
    }
    std::stable_sort(images.begin(), images.end(), [](const IconImage& a, const IconImage& b) {
        const long long areaA = 1LL * a.Shape.Width * a.Shape.Height,
                        areaB = 1LL * b.Shape.Width * b.Shape.Height;
        return areaA != areaB ? areaA > areaB : a.Shape.BitCount > b.Shape.BitCount;
    });
    return images;
}

#pragma pack(push, 2)
struct PlaceableHeader {
    DWORD key;
    WORD handle;
    SHORT left, top, right, bottom;
    WORD inch;
    DWORD reserved;
    WORD checksum;
};
#pragma pack(pop)
static_assert(sizeof(PlaceableHeader) == 22);

// The window extent a plain metafile sets is its natural size in pixels.
std::optional<SIZE> PlainMetafileExtent(const std::vector<BYTE>& data) {
    METAHEADER header{};
    ReadAt(data, 0, header);
    size_t end = static_cast<size_t>(header.mtSize) * 2;
    size_t pos = sizeof(METAHEADER);
    while (pos + 6 <= end) {
        DWORD words = 0;
        WORD function = 0;
        ReadAt(data, pos, words);
        ReadAt(data, pos + 4, function);
        if (words < 3 || words > (end - pos) / 2) break;
        if (function == kMetaSetWindowExt && words >= 5) {
            SHORT y = 0, x = 0;
            ReadAt(data, pos + 6, y);
            ReadAt(data, pos + 8, x);
            if (x != 0 && y != 0) return SIZE{std::abs(x), std::abs(y)};
        }
        if (function == 0) break;
        pos += static_cast<size_t>(words) * 2;
    }
    return std::nullopt;
}

// The layout of 16-bit pixels when it is not the plain 5-5-5 one: a DIB
// section's own masks, and for a device bitmap 5-6-5, the layout of 16-bit
// displays. Written as they are, the pixels stay exact.
std::optional<SixteenBitMasks> MasksOf16BitBitmap(HBITMAP bitmap) {
    constexpr SixteenBitMasks kPlain{0x7C00, 0x03E0, 0x001F};
    DIBSECTION ds{};
    if (GetObjectW(bitmap, sizeof(ds), &ds) != sizeof(ds)) return SixteenBitMasks{0xF800, 0x07E0, 0x001F};
    const SixteenBitMasks own{ds.dsBitfields[0], ds.dsBitfields[1], ds.dsBitfields[2]};
    if (ds.dsBmih.biCompression != BI_BITFIELDS || own == kPlain) return std::nullopt;
    return own;
}

} // namespace

void TPicture::Clear() {
    kind_ = TPictureKind::None;
    width_ = height_ = 0;
    bitmap_.reset();
    palette_.reset();
    icon_.reset();
    metafile_.reset();
}

void TPicture::AssignBitmap(UniqueBitmap bitmap, UniquePalette palette) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap.get(), sizeof(bm), &bm)) {
        Clear();
        return;
    }
    Clear();
    bitmap_ = std::move(bitmap);
    palette_ = std::move(palette);
    kind_ = TPictureKind::Bitmap;
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
}

void TPicture::AssignIcon(UniqueIcon icon) {
    ICONINFO info{};
    Clear();
    if (!icon || !GetIconInfo(icon.get(), &info)) return;
    // A monochrome icon's mask holds the AND and XOR halves one above the other.
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(color ? color.get() : mask.get(), sizeof(bm), &bm);
    icon_ = std::move(icon);
    kind_ = TPictureKind::Icon;
    width_ = bm.bmWidth;
    height_ = color ? bm.bmHeight : bm.bmHeight / 2;
}

void TPicture::LoadFromFile(const std::wstring& path) {
    std::wstring ext = AsciiUpper(ExtensionOf(path));
    if (ext == L".BMP")
        LoadBitmapFile(path);
    else if (ext == L".ICO")
        LoadIconFile(path);
    else if (ext == L".WMF")
        LoadMetafile(path, true);
    else if (ext == L".EMF")
        LoadMetafile(path, false);
    else
        throw Exception(FormatText(L"画像として読めない拡張子です [%s]", {path}));
}

void TPicture::LoadBitmapFile(const std::wstring& path) {
    const wchar_t* invalid = L"ビットマップが正しくありません";
    // A DIB section keeps the file's own colour depth and colour table.
    UniqueBitmap bitmap = DecodeBmpFile(ReadWholeFile(path, invalid));
    if (!bitmap) throw EInvalidGraphic(invalid);
    UniquePalette palette = PaletteFromDibSection(bitmap.get());
    AssignBitmap(std::move(bitmap), std::move(palette));
}

void TPicture::LoadIconFile(const std::wstring& path) {
    const wchar_t* invalid = L"アイコンが正しくありません";
    std::vector<BYTE> data = ReadWholeFile(path, invalid);
    WORD reserved = 1, type = 0, count = 0;
    if (!ReadAt(data, 0, reserved) || !ReadAt(data, 2, type) || !ReadAt(data, 4, count) || reserved != 0 ||
        type != 1 || count == 0)
        throw EInvalidGraphic(invalid);
    // The largest image the system can make an icon of: newer icons hold
    // their largest image as a PNG, which older systems cannot read.
    for (const IconImage& image : IconImagesLargestFirst(data, count)) {
        UniqueIcon icon(CreateIconFromResourceEx(const_cast<BYTE*>(image.Bytes.data()),
                                                 static_cast<DWORD>(image.Bytes.size()), TRUE, 0x00030000,
                                                 image.Shape.Width, image.Shape.Height, LR_DEFAULTCOLOR));
        ICONINFO info{};
        if (!icon || !GetIconInfo(icon.get(), &info)) continue;
        UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        GetObjectW(color ? color.get() : mask.get(), sizeof(bm), &bm);
        Clear();
        icon_ = std::move(icon);
        kind_ = TPictureKind::Icon;
        width_ = bm.bmWidth;
        height_ = color ? bm.bmHeight : bm.bmHeight / 2;
        return;
    }
    throw EInvalidGraphic(invalid);
}

void TPicture::LoadMetafile(const std::wstring& path, bool windowsFormat) {
    const wchar_t* invalid = L"メタファイルが正しくありません";
    std::vector<BYTE> data = ReadWholeFile(path, invalid);
    UniqueEnhMetafile metafile;
    int dpiX = ScreenDpi(LOGPIXELSX), dpiY = ScreenDpi(LOGPIXELSY);
    int w = 0, h = 0;
    if (windowsFormat) {
        PlaceableHeader placeable{};
        bool isPlaceable = ReadAt(data, 0, placeable) && placeable.key == kPlaceableKey;
        size_t start = isPlaceable ? sizeof(PlaceableHeader) : 0;
        if (!ValidWindowsMetafile(std::span<const BYTE>(data).subspan(std::min(start, data.size()))))
            throw EInvalidGraphic(invalid);
        METAFILEPICT pict{MM_ANISOTROPIC, 0, 0, nullptr};
        bool sized = false;
        if (isPlaceable) {
            WORD sum = 0;
            for (size_t i = 0; i < 10; ++i)
                sum ^= reinterpret_cast<const WORD*>(data.data())[i];
            int unitsW = placeable.right - placeable.left, unitsH = placeable.bottom - placeable.top;
            if (sum != placeable.checksum || placeable.inch == 0 || unitsW == 0 || unitsH == 0)
                throw EInvalidGraphic(invalid);
            w = MulDiv(std::abs(unitsW), dpiX, placeable.inch);
            h = MulDiv(std::abs(unitsH), dpiY, placeable.inch);
            sized = true;
        } else if (auto extent = PlainMetafileExtent(data)) {
            w = extent->cx;
            h = extent->cy;
            sized = true;
        }
        pict.xExt = MulDiv(w, kHundredthMmPerInch, dpiX);
        pict.yExt = MulDiv(h, kHundredthMmPerInch, dpiY);
        WindowDC screen(nullptr);
        metafile.reset(SetWinMetaFileBits(static_cast<UINT>(data.size() - start), data.data() + start,
                                          screen.get(), sized ? &pict : nullptr));
    } else {
        if (!ValidEnhancedMetafile(data)) throw EInvalidGraphic(invalid);
        metafile.reset(SetEnhMetaFileBits(static_cast<UINT>(data.size()), data.data()));
    }
    if (!metafile) throw EInvalidGraphic(invalid);
    if (w <= 0 || h <= 0) {
        ENHMETAHEADER header{};
        GetEnhMetaFileHeader(metafile.get(), sizeof(header), &header);
        w = MulDiv(header.rclFrame.right - header.rclFrame.left, dpiX, kHundredthMmPerInch);
        h = MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpiY, kHundredthMmPerInch);
        if (w <= 0 || h <= 0) {
            w = header.rclBounds.right - header.rclBounds.left + 1;
            h = header.rclBounds.bottom - header.rclBounds.top + 1;
        }
        if (w <= 0 || h <= 0) throw EInvalidGraphic(invalid);
    }
    // It is rendered into a bitmap of this size when it becomes the wallpaper.
    if (w > kMaxPictureSide || h > kMaxPictureSide ||
        static_cast<unsigned long long>(w) * static_cast<unsigned long long>(h) * 4 > kMaxPictureBytes)
        throw EInvalidGraphic(invalid);
    Clear();
    metafile_ = std::move(metafile);
    kind_ = TPictureKind::Metafile;
    width_ = w;
    height_ = h;
}

void TPicture::Draw(HDC dc, const RECT& r) const {
    int w = r.right - r.left, h = r.bottom - r.top;
    switch (kind_) {
    case TPictureKind::Bitmap: {
        UniqueDC source(CreateCompatibleDC(dc));
        SelectGuard select(source.get(), bitmap_.get());
        HPALETTE oldSource = nullptr, oldTarget = nullptr;
        if (palette_) {
            oldSource = SelectPalette(source.get(), palette_.get(), TRUE);
            oldTarget = SelectPalette(dc, palette_.get(), TRUE);
            RealizePalette(dc);
        }
        int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, width_, height_, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
        if (palette_) {
            SelectPalette(dc, oldTarget, TRUE);
            SelectPalette(source.get(), oldSource, TRUE);
        }
        break;
    }
    case TPictureKind::Icon:
        DrawIconEx(dc, r.left, r.top, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
        break;
    case TPictureKind::Metafile:
        PlayEnhMetaFile(dc, metafile_.get(), &r);
        break;
    case TPictureKind::None:
        break;
    }
}

UniqueBitmap TPicture::RenderToBitmap() const {
    if (Empty() || width_ <= 0 || height_ <= 0) return {};
    WindowDC screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width_, height_));
    if (!bitmap) return {};
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    SelectGuard select(dc.get(), bitmap.get());
    RECT r{0, 0, width_, height_};
    FillRect(dc.get(), &r, GetSysColorBrush(COLOR_WINDOW));
    Draw(dc.get(), r);
    return bitmap;
}

void TPicture::SaveToFile(const std::wstring& path) const {
    if (kind_ == TPictureKind::Bitmap) {
        SaveBitmapToFile(bitmap_.get(), palette_.get(), path);
        return;
    }
    UniqueBitmap rendered = RenderToBitmap();
    if (!rendered) throw Exception(L"保存する画像がありません");
    SaveBitmapToFile(rendered.get(), nullptr, path);
}

void WriteBmpFile(const std::wstring& path, const BmpFormat& format, size_t bandBytes,
                  const BmpRowSource& rows) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw Exception(FormatText(L"ファイル %s を作成できません", {path}));
    WriteBmp(format, bandBytes, rows, [&](const void* data, size_t size) {
        DWORD written = 0;
        if (!WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) || written != size)
            throw Exception(FormatText(L"ファイル %s に書き込めません", {path}));
    });
}

void SaveBitmapToFile(HBITMAP bitmap, HPALETTE palette, const std::wstring& path) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        throw Exception(L"保存する画像がありません");
    int bits = bm.bmBitsPixel * bm.bmPlanes;
    // The depths a BMP file can hold; a 15-bit surface is written as 16 bits.
    for (int depth : {1, 4, 8, 16, 24, 32})
        if (bits <= depth) {
            bits = depth;
            break;
        }
    if (bits > 32) bits = 32;
    // GetDIBits reads the rows through this header and fills the colour
    // table (or the masks) behind it, which the file then carries.
    const DWORD colors = bits <= 8 ? 1u << bits : 0;
    const std::optional<SixteenBitMasks> masks = bits == 16 ? MasksOf16BitBitmap(bitmap) : std::nullopt;
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) +
                           (masks ? sizeof(*masks) : 0));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    BmpFormat format;
    format.Width = bm.bmWidth;
    format.Height = bm.bmHeight;
    format.BitCount = bits;
    format.Colors = std::span<const RGBQUAD>(reinterpret_cast<const RGBQUAD*>(header + 1), colors);
    if (masks)
        format.Masks = std::span<const DWORD>(reinterpret_cast<const DWORD*>(header + 1), masks->size());

    WindowDC screen(nullptr);
    PaletteGuard select(screen.get(), palette);
    WriteBmpFile(path, format, 256u << 10, [&](int first, int rows, BYTE* band) {
        *header = DibHeader(bm.bmWidth, bm.bmHeight, bits);
        if (masks) {
            header->biCompression = BI_BITFIELDS;
            std::memcpy(header + 1, masks->data(), sizeof(*masks));
        }
        if (GetDIBits(screen.get(), bitmap, first, rows, band, reinterpret_cast<BITMAPINFO*>(info.data()),
                      DIB_RGB_COLORS) != rows)
            throw Exception(L"ビットマップを読み出せません");
    });
}
