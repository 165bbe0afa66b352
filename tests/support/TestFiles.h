#pragma once
// Files the tests make: a fresh folder, BMP pictures of known pixels, and
// reading a BMP back.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testfiles {

// A new empty folder below the temp folder.
inline std::wstring FreshFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::filesystem::path dir = std::filesystem::path(temp) / name;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir);
    return dir.wstring();
}

// A 24-bit BMP filled with one colour, with a marker pixel of another at the
// top left corner so the tile origin can be found again.
inline std::wstring WriteBitmap(const std::wstring& path, int width, int height, COLORREF fill,
                                COLORREF corner = RGB(255, 0, 0)) {
    int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> pixels(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = (x == 0 && y == 0) ? corner : fill;
            // Rows are stored bottom-up.
            uint8_t* p = &pixels[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return path;
}

// A BMP file read back: its size and a pixel lookup (top-down coordinates).
struct Bitmap {
    int width = 0, height = 0, bitCount = 0;
    std::vector<uint8_t> data;
    int stride = 0;
    bool bottomUp = true;
    COLORREF Pixel(int x, int y) const {
        int row = bottomUp ? height - 1 - y : y;
        const uint8_t* p = &data[static_cast<size_t>(row) * stride + x * (bitCount / 8)];
        return RGB(p[2], p[1], p[0]);
    }
};

// Reads a 24- or 32-bit BMP file; width 0 when it is not one.
inline Bitmap ReadBitmap(const std::wstring& path) {
    Bitmap bmp;
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    if (!in.read(reinterpret_cast<char*>(&file), sizeof(file)) || file.bfType != 0x4D42) return bmp;
    in.read(reinterpret_cast<char*>(&info), sizeof(info));
    bmp.bitCount = info.biBitCount;
    if (bmp.bitCount != 24 && bmp.bitCount != 32) {
        bmp.width = info.biWidth;
        bmp.height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
        return bmp;
    }
    bmp.width = info.biWidth;
    bmp.bottomUp = info.biHeight > 0;
    bmp.height = bmp.bottomUp ? info.biHeight : -info.biHeight;
    bmp.stride = (bmp.width * (bmp.bitCount / 8) + 3) & ~3;
    bmp.data.resize(static_cast<size_t>(bmp.stride) * bmp.height);
    in.seekg(file.bfOffBits);
    in.read(reinterpret_cast<char*>(bmp.data.data()), static_cast<std::streamsize>(bmp.data.size()));
    return bmp;
}
} // namespace testfiles
