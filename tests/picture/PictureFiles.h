#pragma once
// Test helpers for picture files: a scratch folder, BMP files written and read
// byte by byte (independently of the code under test), and pixel reads.
#include "framework/Handle.h"
#include "framework/TPicture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace pictest {

// A folder of its own under the temporary folder, removed at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::filesystem::path(temp) / (name + L"." + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::wstring operator/(const std::wstring& file) const { return (path_ / file).wstring(); }
    std::wstring Path() const { return path_.wstring(); }

  private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::wstring& path, const std::vector<BYTE>& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A picture, and a scratch folder for the files it loads.
class PictureFileTest : public ::testing::Test {
  protected:
    explicit PictureFileTest(const std::wstring& folderName) : folder(folderName) {}
    std::wstring Write(const std::wstring& name, const std::vector<BYTE>& bytes) {
        std::wstring path = folder / name;
        WriteBytes(path, bytes);
        return path;
    }
    ScratchFolder folder;
    TPicture picture;
};

inline std::vector<BYTE> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename T> void Append(std::vector<BYTE>& out, const T& value) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&value);
    out.insert(out.end(), p, p + sizeof(T));
}

// A BMP file as it is on disk.
struct BmpFile {
    BITMAPFILEHEADER File{};
    BITMAPINFOHEADER Info{};
    std::vector<RGBQUAD> Colors;
    std::vector<BYTE> Pixels;

    int Stride() const { return (Info.biWidth * Info.biBitCount + 31) / 32 * 4; }
    // The colour table index (indexed files) or the colour of pixel (x, y),
    // counted from the top row.
    unsigned Index(int x, int y) const {
        int row = Info.biHeight > 0 ? Info.biHeight - 1 - y : y;
        const BYTE* line = Pixels.data() + row * Stride();
        int bit = x * Info.biBitCount;
        return (line[bit / 8] >> (8 - Info.biBitCount - bit % 8)) & ((1u << Info.biBitCount) - 1);
    }
    COLORREF Color(int x, int y) const {
        if (Info.biBitCount <= 8) {
            RGBQUAD q = Colors.at(Index(x, y));
            return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
        int row = Info.biHeight > 0 ? Info.biHeight - 1 - y : y;
        const BYTE* p = Pixels.data() + row * Stride() + x * (Info.biBitCount / 8);
        return RGB(p[2], p[1], p[0]);
    }
    std::vector<BYTE> Bytes() const {
        std::vector<BYTE> out;
        BITMAPFILEHEADER file = File;
        file.bfType = 0x4D42;
        file.bfOffBits = static_cast<DWORD>(sizeof(file) + sizeof(Info) + Colors.size() * sizeof(RGBQUAD));
        file.bfSize = static_cast<DWORD>(file.bfOffBits + Pixels.size());
        Append(out, file);
        Append(out, Info);
        for (const RGBQUAD& q : Colors)
            Append(out, q);
        out.insert(out.end(), Pixels.begin(), Pixels.end());
        return out;
    }
};

// A bottom-up BMP; pixel(x, y) gives the index (indexed) or the colour.
inline BmpFile MakeBmp(int width, int height, int bits, std::vector<RGBQUAD> colors,
                       const std::function<unsigned(int, int)>& pixel) {
    BmpFile bmp;
    bmp.Info.biSize = sizeof(BITMAPINFOHEADER);
    bmp.Info.biWidth = width;
    bmp.Info.biHeight = height;
    bmp.Info.biPlanes = 1;
    bmp.Info.biBitCount = static_cast<WORD>(bits);
    bmp.Info.biCompression = BI_RGB;
    bmp.Colors = std::move(colors);
    bmp.Pixels.assign(static_cast<size_t>(bmp.Stride()) * height, 0);
    for (int y = 0; y < height; ++y) {
        BYTE* line = bmp.Pixels.data() + (height - 1 - y) * bmp.Stride();
        for (int x = 0; x < width; ++x) {
            unsigned value = pixel(x, y);
            if (bits <= 8) {
                int bit = x * bits;
                line[bit / 8] |= static_cast<BYTE>(value << (8 - bits - bit % 8));
            } else {
                BYTE* p = line + x * (bits / 8);
                p[0] = GetBValue(value);
                p[1] = GetGValue(value);
                p[2] = GetRValue(value);
            }
        }
    }
    return bmp;
}

inline BmpFile ReadBmp(const std::wstring& path) {
    std::vector<BYTE> bytes = ReadBytes(path);
    BmpFile bmp;
    EXPECT_GE(bytes.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return bmp;
    std::memcpy(&bmp.File, bytes.data(), sizeof(bmp.File));
    std::memcpy(&bmp.Info, bytes.data() + sizeof(bmp.File), sizeof(bmp.Info));
    size_t table = sizeof(bmp.File) + bmp.Info.biSize;
    size_t colors = (bmp.File.bfOffBits - table) / sizeof(RGBQUAD);
    bmp.Colors.resize(colors);
    std::memcpy(bmp.Colors.data(), bytes.data() + table, colors * sizeof(RGBQUAD));
    bmp.Pixels.assign(bytes.begin() + bmp.File.bfOffBits, bytes.end());
    return bmp;
}

inline COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

inline BITMAP BitmapInfo(HBITMAP bitmap) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof(bm), &bm);
    return bm;
}

inline int ScreenBits() {
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), BITSPIXEL);
}

} // namespace pictest
