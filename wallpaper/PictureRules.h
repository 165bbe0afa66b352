#pragma once
// The decisions of picture loading that need no window and no plug-in: which
// loader a file name goes to, the sizes the loaded bitmap gets, the palette
// size, the texts of the plug-in result codes and the path handed to a plug-in.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The picture kinds: 0 is the framework's own loader, 1 to 9 the plug-ins.
enum TPictureFileKind : int {
    pkFramework = 0,
    pkJpeg = 1,
    pkGif = 2,
    pkTiff = 3,
    pkPic = 4,
    pkPic2 = 5,
    pkMag = 6,
    pkXld4 = 7,
    pkPi = 8,
    pkPng = 9,
};

struct TPluginEntry {
    std::wstring_view Library; // loaded by this bare file name
    std::wstring_view Name;    // shown as "IF" + Name + ".SPI not found"
};

// The extension of the file-name part, from its last "." (included),
// upper-cased in ASCII letters only; empty when there is none.
std::wstring PictureExtension(std::wstring_view path);
// The kind of a path, or nothing for an unsupported extension.
std::optional<TPictureFileKind> PictureKindOf(std::wstring_view path);
// Whether a file may join the library: a picture the add dialog offers.
bool IsPictureFile(std::wstring_view path);
// The add dialog's filter: all pictures, then one line per format.
std::wstring PictureFileFilter();
// The plug-in of kinds 1 to 9.
const TPluginEntry& PluginOf(TPictureFileKind kind);
// "IF" + name + ".SPI not found".
std::wstring PluginNotFoundText(TPictureFileKind kind);

// The plug-in's file name and the exception code of a fault inside it.
std::wstring PluginFaultText(TPictureFileKind kind, unsigned long exceptionCode);

// The text shown for a non-zero plug-in result code.
std::wstring PluginResultText(int code);

// A preview is a quarter of the picture, rounded up: 10 gives 3, 8 gives 2.
int PreviewExtent(int size);

// The size a picture of w by h with these pixel densities is shown at, or
// nothing when no correction applies (both densities 1, a density of 0, or a
// result that does not fit).
std::optional<SIZE> AspectCorrectedSize(int width, int height, unsigned xDensity, unsigned yDensity);

// A palette is built only for pictures of 8 bits or less on an 8-bit display.
bool NeedsPalette(int bitCount, int screenBitsPerPixel);
// Entries of that palette: biClrUsed, or when 0 the full table of the depth.
int PaletteEntryCount(int bitCount, unsigned clrUsed);

// The plug-ins open the file with the ANSI API through a 256-byte buffer: the
// path converted to that code page when it fits in 255 bytes and converts
// back unchanged, else nothing.
std::optional<std::string> FitPluginPath(std::wstring_view path, unsigned codePage);
// The path as a plug-in can take it: the path itself, else its short (8.3)
// form, in the system's ANSI code page; nothing when neither fits.
std::optional<std::string> PluginPathFor(const std::wstring& path);

// Colour table entries that follow a DIB header (bit masks count as three).
int DibColorTableEntries(const BITMAPINFOHEADER& header);
// Whether a DIB from a plug-in can be converted without reading past its two
// blocks: a known depth and compression, a positive width, a height, and
// blocks large enough for the header, the colour table and the pixel rows.
bool DibFitsBlocks(const BITMAPINFOHEADER& header, size_t infoBytes, size_t pixelBytes);
