#pragma once
// A picture that holds a bitmap (with its palette), an icon or a metafile,
// loads them by extension, draws them into a rectangle and saves them as BMP
// files.
#include "base/BmpWriter.h"
#include "framework/Handle.h"

#include <string>

enum class TPictureKind { None, Bitmap, Icon, Metafile };

class TPicture {
  public:
    // Loads by extension: .BMP (bitmap), .ICO (icon), .WMF (placeable or plain)
    // and .EMF (metafile). A file that is not a valid picture of its kind raises
    // EInvalidGraphic; any other failure (the file cannot be opened, an unknown
    // extension) raises Exception. On failure the picture keeps what it held.
    void LoadFromFile(const std::wstring& path);
    void Clear();
    bool Empty() const { return kind_ == TPictureKind::None; }
    TPictureKind Kind() const { return kind_; }
    // Icon size, metafile frame size in screen pixels, bitmap size.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Null unless Kind() == Bitmap.
    HBITMAP Bitmap() const { return bitmap_.get(); }
    HPALETTE Palette() const { return palette_.get(); }
    // Takes ownership of the bitmap and its palette.
    void AssignBitmap(UniqueBitmap bitmap, UniquePalette palette = {});
    // Takes ownership of the icon; an invalid one leaves the picture empty.
    void AssignIcon(UniqueIcon icon);
    // Null unless Kind() == Icon.
    HICON Icon() const { return icon_.get(); }

    // Any kind rendered into a new device-dependent bitmap of Width() x
    // Height() in the screen's format: icons on the window background colour,
    // metafiles played into their frame. Empty for an empty picture.
    UniqueBitmap RenderToBitmap() const;
    // A bitmap is written as a BMP file of its own colour depth (and palette);
    // an icon or metafile is rendered first. An empty picture or a file that
    // cannot be written raises Exception.
    void SaveToFile(const std::wstring& path) const;
    // Draws the picture stretched over the rectangle (pass its natural size
    // for an unscaled drawing).
    void Draw(HDC dc, const RECT& r) const;

  private:
    void LoadBitmapFile(const std::wstring& path);
    void LoadIconFile(const std::wstring& path);
    void LoadMetafile(const std::wstring& path, bool windowsFormat);

    TPictureKind kind_ = TPictureKind::None;
    int width_ = 0, height_ = 0;
    UniqueBitmap bitmap_;
    UniquePalette palette_;
    UniqueIcon icon_;
    UniqueEnhMetafile metafile_;
};

// Writes any bitmap as a .BMP file (BITMAPFILEHEADER + DIB), with its palette
// when it has one. Raises Exception when the file cannot be written.
void SaveBitmapToFile(HBITMAP bitmap, HPALETTE palette, const std::wstring& path);

// Writes a BMP file from a source of rows (see WriteBmp). Raises Exception
// when the file cannot be created or written.
void WriteBmpFile(const std::wstring& path, const BmpFormat& format, size_t bandBytes,
                  const BmpRowSource& rows);
