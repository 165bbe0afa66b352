#pragma once
// Small valid pictures of the framework's kinds, made with GDI: the starting
// point of the loader's tests and of the damaged files made from them.
#include "PictureFiles.h"

#include <vector>

namespace pictest {

inline const COLORREF kRed = RGB(220, 20, 30);
inline const COLORREF kBlue = RGB(20, 40, 210);

// One image of an icon file: its size and depth for the directory, and its
// bytes (a DIB with its mask, or a PNG).
struct IconEntry {
    int width, height, bitCount;
    std::vector<BYTE> image;
};

// The directory of the images, then the images in the same order.
inline std::vector<BYTE> IconFileOf(const std::vector<IconEntry>& entries) {
    std::vector<BYTE> file;
    Append(file, WORD{0});
    Append(file, WORD{1});
    Append(file, static_cast<WORD>(entries.size()));
    DWORD offset = static_cast<DWORD>(6 + 16 * entries.size());
    for (const IconEntry& entry : entries) {
        // 256 is written as 0.
        file.push_back(static_cast<BYTE>(entry.width));
        file.push_back(static_cast<BYTE>(entry.height));
        file.push_back(0);
        file.push_back(0);
        Append(file, WORD{1});
        Append(file, static_cast<WORD>(entry.bitCount));
        Append(file, static_cast<DWORD>(entry.image.size()));
        Append(file, offset);
        offset += static_cast<DWORD>(entry.image.size());
    }
    for (const IconEntry& entry : entries)
        file.insert(file.end(), entry.image.begin(), entry.image.end());
    return file;
}

// A 24-bit icon image of w by h pixels: the top-left 4 by 4 pixels
// transparent, the left half red, the right half blue.
inline std::vector<BYTE> HalvesIconImage(int w, int h) {
    std::vector<BYTE> image;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h * 2;
    info.biPlanes = 1;
    info.biBitCount = 24;
    Append(image, info);
    const int stride = (w * 3 + 3) & ~3, maskStride = (w + 31) / 32 * 4;
    for (int row = 0; row < h; ++row) {
        int y = h - 1 - row;
        for (int x = 0; x < w; ++x) {
            bool transparent = x < 4 && y < 4;
            COLORREF c = transparent ? RGB(0, 0, 0) : x < w / 2 ? kRed : kBlue;
            image.push_back(GetBValue(c));
            image.push_back(GetGValue(c));
            image.push_back(GetRValue(c));
        }
        image.resize(image.size() + stride - w * 3);
    }
    for (int row = 0; row < h; ++row) {
        int y = h - 1 - row;
        std::vector<BYTE> mask(maskStride);
        mask[0] = static_cast<BYTE>(y < 4 ? 0xF0 : 0);
        image.insert(image.end(), mask.begin(), mask.end());
    }
    return image;
}

// An icon file of one 24-bit image of 24 by 16 pixels (HalvesIconImage).
inline std::vector<BYTE> IconFile() {
    return IconFileOf({{24, 16, 24, HalvesIconImage(24, 16)}});
}

inline void PaintHalves(HDC dc, int w, int h) {
    UniqueBrush red(CreateSolidBrush(kRed)), blue(CreateSolidBrush(kBlue));
    SelectGuard pen(dc, GetStockObject(NULL_PEN));
    {
        SelectGuard brush(dc, red.get());
        Rectangle(dc, 0, 0, w / 2 + 1, h + 1);
    }
    SelectGuard brush(dc, blue.get());
    Rectangle(dc, w / 2, 0, w + 1, h + 1);
}

// A Windows metafile that sets a window of 200 by 100 units, red on the left, blue on the right.
inline std::vector<BYTE> WindowsMetafileBits() {
    HDC dc = CreateMetaFileW(nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 200, 100, nullptr);
    PaintHalves(dc, 200, 100);
    HMETAFILE mf = CloseMetaFile(dc);
    std::vector<BYTE> bits(GetMetaFileBitsEx(mf, 0, nullptr));
    GetMetaFileBitsEx(mf, static_cast<UINT>(bits.size()), bits.data());
    DeleteMetaFile(mf);
    return bits;
}

// The placeable header: a frame of 3000 by 1500 units of 1/1440 inch.
inline std::vector<BYTE> PlaceableMetafile(bool goodChecksum = true) {
    std::vector<BYTE> file;
    WORD header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 3000, 1500, 1440, 0, 0, 0};
    WORD sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= header[i];
    header[10] = goodChecksum ? sum : static_cast<WORD>(sum ^ 1);
    for (WORD w : header)
        Append(file, w);
    std::vector<BYTE> bits = WindowsMetafileBits();
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

inline int Dpi(int index) {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), index);
}

// An enhanced metafile with a frame of 120 by 80 screen pixels, drawn in
// the screen's pixels.
inline std::vector<BYTE> EnhancedMetafile() {
    RECT frame{0, 0, MulDiv(120, 2540, Dpi(LOGPIXELSX)), MulDiv(80, 2540, Dpi(LOGPIXELSY))};
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, L"test\0\0");
    PaintHalves(dc, 120, 80);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<BYTE> bits(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
    DeleteEnhMetaFile(emf);
    return bits;
}

} // namespace pictest
