#include "wallpaper/PictureRules.h"

#include "base/ExtensionOf.h"
#include "framework/Text.h"

#include <algorithm>
#include <array>
#include <vector>
#include <climits>

namespace {
const std::array<TPluginEntry, 10> kPlugins = {{
    {L"", L""},
    {L"ifjpeg.spi", L"JPG"},
    {L"ifgif.spi", L"GIF"},
    {L"iftiff.spi", L"TIFF"},
    {L"ifpic.spi", L"PIC"},
    {L"ifpic2.spi", L"PIC2"},
    {L"ifmag.spi", L"MAG"},
    {L"ifxld4.spi", L"XLD4"},
    {L"ifpi.spi", L"PI"},
    {L"ifpng.spi", L"PNG"},
}};

// Every extension the program knows, in the order the add dialog lists them.
// Pictures the user can add carry the label of their line in the dialog's
// filter; the framework's other formats load but are not offered.
struct PictureType {
    std::wstring_view Extension;
    TPictureFileKind Kind;
    std::wstring_view FilterLabel;
    // The dialog's own line shows these in capitals.
    bool UpperInFilter = false;
};
// ".TIFF" goes to the TIFF plug-in as well: the file dialog offers "*.tiff".
// ".JPEG" and ".JFIF", the names cameras and browsers write, are JPEG files.
const PictureType kPictureTypes[] = {
    {L".BMP", pkFramework, L"BMPファイル"}, {L".JPG", pkJpeg, L"JPGファイル"},
    {L".JPE", pkJpeg, L"JPGファイル"},      {L".GIF", pkGif, L"GIFファイル"},
    {L".TIF", pkTiff, L"TIFFファイル"},     {L".TIFF", pkTiff, L"TIFFファイル"},
    {L".PIC", pkPic, L"PICファイル"},       {L".P2", pkPic2, L"PICT2ファイル"},
    {L".MAG", pkMag, L"MAGファイル", true}, {L".PI", pkPi, L"PIファイル", true},
    {L".Q4", pkXld4, L"XLD4ファイル", true}, {L".PNG", pkPng, L"PNGファイル"},
    {L".JPEG", pkJpeg, L"JPGファイル"},     {L".JFIF", pkJpeg, L"JPGファイル"},
    {L".ICO", pkFramework, L""},           {L".WMF", pkFramework, L""},
    {L".EMF", pkFramework, L""},
};

std::wstring FilterPattern(const PictureType& type) {
    std::wstring ext(type.Extension);
    if (!type.UpperInFilter)
        for (wchar_t& c : ext)
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return L"*" + ext;
}
} // namespace

std::wstring PictureExtension(std::wstring_view path) {
    return AsciiUpper(ExtensionOf(path));
}

std::optional<TPictureFileKind> PictureKindOf(std::wstring_view path) {
    std::wstring ext = PictureExtension(path);
    for (const auto& type : kPictureTypes)
        if (type.Extension == ext) return type.Kind;
    return std::nullopt;
}

bool IsPictureFile(std::wstring_view path) {
    std::wstring ext = PictureExtension(path);
    for (const auto& type : kPictureTypes)
        if (type.Extension == ext) return !type.FilterLabel.empty();
    return false;
}

std::wstring PictureFileFilter() {
    std::wstring all, lines;
    std::vector<std::wstring_view> labels;
    for (const auto& type : kPictureTypes) {
        if (type.FilterLabel.empty()) continue;
        all += (all.empty() ? L"" : L";") + FilterPattern(PictureType{type.Extension, type.Kind, {}});
        if (std::find(labels.begin(), labels.end(), type.FilterLabel) == labels.end())
            labels.push_back(type.FilterLabel);
    }
    for (std::wstring_view label : labels) {
        std::wstring patterns;
        for (const auto& type : kPictureTypes)
            if (type.FilterLabel == label) patterns += (patterns.empty() ? L"" : L";") + FilterPattern(type);
        lines += L"|" + std::wstring(label) + L"|" + patterns;
    }
    return L"全ての画像ファイル|" + all + lines;
}

const TPluginEntry& PluginOf(TPictureFileKind kind) {
    return kPlugins.at(static_cast<size_t>(kind));
}

std::wstring PluginNotFoundText(TPictureFileKind kind) {
    return L"IF" + std::wstring(PluginOf(kind).Name) + L".SPI not found";
}

std::wstring PluginFaultText(TPictureFileKind kind, unsigned long exceptionCode) {
    std::wstring code(8, L'0');
    for (size_t i = code.size(); i-- > 0; exceptionCode >>= 4)
        code[i] = L"0123456789ABCDEF"[exceptionCode & 0xF];
    return FormatText(L"%s で例外 (%s) が発生しました", {PluginOf(kind).Library, code});
}

std::wstring PluginResultText(int code) {
    switch (code) {
    case 2:
        return L"未知のフォーマット";
    case 3:
        return L"データが壊れている";
    case 4:
        return L"メモリーが確保出来ない";
    case 5:
        return L"メモリーエラー";
    case 6:
        return L"ファイルリードエラー";
    default:
        return L"その他のエラー";
    }
}

int PreviewExtent(int size) {
    return size / 4 + (size % 4 != 0 ? 1 : 0);
}

std::optional<SIZE> AspectCorrectedSize(int width, int height, unsigned xDensity, unsigned yDensity) {
    if (xDensity == 0 || yDensity == 0 || (xDensity == 1 && yDensity == 1)) return std::nullopt;
    long long w = width, h = height;
    if (xDensity < yDensity)
        w = w * yDensity / xDensity;
    else
        h = h * xDensity / yDensity;
    if (w <= 0 || h <= 0 || w > INT_MAX || h > INT_MAX) return std::nullopt;
    return SIZE{static_cast<LONG>(w), static_cast<LONG>(h)};
}

bool NeedsPalette(int bitCount, int screenBitsPerPixel) {
    return bitCount >= 1 && bitCount <= 8 && screenBitsPerPixel == 8;
}

int PaletteEntryCount(int bitCount, unsigned clrUsed) {
    if (bitCount < 1 || bitCount > 8) return 0;
    int full = 1 << bitCount;
    if (clrUsed == 0) return full;
    return clrUsed < static_cast<unsigned>(full) ? static_cast<int>(clrUsed) : full;
}

std::optional<std::string> FitPluginPath(std::wstring_view path, unsigned codePage) {
    if (path.empty()) return std::nullopt;
    std::string ansi = WideToCodePage(path, codePage);
    // A best-fit conversion may turn a character into a look-alike without
    // saying so; only a path that converts back unchanged names the same file.
    if (ansi.size() > 255 || ansi.find('\0') != std::string::npos || CodePageToWide(ansi, codePage) != path)
        return std::nullopt;
    return ansi;
}

std::optional<std::string> PluginPathFor(const std::wstring& path) {
    if (auto ansi = FitPluginPath(path, CP_ACP)) return ansi;
    DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0) return std::nullopt;
    std::wstring shortPath(length, L'\0');
    length = GetShortPathNameW(path.c_str(), shortPath.data(), length);
    if (length == 0 || length >= shortPath.size()) return std::nullopt;
    shortPath.resize(length);
    return FitPluginPath(shortPath, CP_ACP);
}

int DibColorTableEntries(const BITMAPINFOHEADER& header) {
    unsigned used = header.biClrUsed > 256 ? 256 : header.biClrUsed;
    if (header.biBitCount >= 1 && header.biBitCount <= 8) {
        unsigned full = 1u << header.biBitCount;
        return static_cast<int>(used != 0 ? used : full);
    }
    return static_cast<int>(used) + (header.biCompression == BI_BITFIELDS ? 3 : 0);
}

bool DibFitsBlocks(const BITMAPINFOHEADER& header, size_t infoBytes, size_t pixelBytes) {
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == LONG_MIN)
        return false;
    switch (header.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    unsigned long long table =
        static_cast<unsigned long long>(DibColorTableEntries(header)) * sizeof(RGBQUAD);
    if (infoBytes < header.biSize || infoBytes - header.biSize < table) return false;
    unsigned long long rows =
        header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    switch (header.biCompression) {
    case BI_RGB:
    case BI_BITFIELDS: {
        if (header.biCompression == BI_BITFIELDS && header.biBitCount != 16 && header.biBitCount != 32)
            return false;
        unsigned long long stride =
            (static_cast<unsigned long long>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
        return stride * rows <= pixelBytes;
    }
    case BI_RLE8:
    case BI_RLE4:
        // Run-length rows are read up to biSizeImage bytes.
        return (header.biCompression == BI_RLE8 ? header.biBitCount == 8 : header.biBitCount == 4) &&
               header.biHeight > 0 && header.biSizeImage != 0 && header.biSizeImage <= pixelBytes;
    default:
        return false;
    }
}
