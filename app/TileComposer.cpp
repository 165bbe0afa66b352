#include "app/TileComposer.h"

#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/TPicture.h"
#include "framework/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {
// The tile's pixels as 32-bit rows, top row first.
std::vector<uint32_t> TilePixels(const TPicture& picture, int w, int h) {
    UniqueBitmap rendered;
    HBITMAP tile = picture.Bitmap();
    if (!tile) {
        rendered = picture.RenderToBitmap();
        tile = rendered.get();
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    WindowDC screen(nullptr);
    int lines = 0;
    {
        PaletteGuard select(screen.get(), picture.Palette());
        lines = tile ? GetDIBits(screen.get(), tile, 0, h, pixels.data(), &info, DIB_RGB_COLORS) : 0;
    }
    if (lines != h) throw Exception(L"壁紙の作成に必要なメモリーが確保出来ません。");
    return pixels;
}
} // namespace

SIZE PhysicalSize(SIZE metrics, SIZE device) {
    return device.cx > 0 && device.cy > 0 ? device : metrics;
}

SIZE WallpaperScreenSize() {
    WindowDC screen(nullptr);
    return PhysicalSize(
        SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
        SIZE{GetDeviceCaps(screen.get(), DESKTOPHORZRES), GetDeviceCaps(screen.get(), DESKTOPVERTRES)});
}

void WriteTiledBitmap(const TPicture& picture, TileStart start, int screenWidth, int screenHeight,
                      const std::wstring& path) {
    const int w = picture.Width(), h = picture.Height();
    if (w <= 0 || h <= 0 || screenWidth <= 0 || screenHeight <= 0)
        throw Exception(L"壁紙の作成に必要なメモリーが確保出来ません。");
    const std::vector<uint32_t> tile = TilePixels(picture, w, h);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = screenWidth;
    header.biHeight = screenHeight; // bottom-up, as BMP files are
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(screenWidth) * 4 * static_cast<DWORD>(screenHeight);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;

    UniqueFile out(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) throw Exception(FormatText(L"ファイル %s を作成できません", {path}));
    auto write = [&](const void* data, size_t size) {
        DWORD written = 0;
        if (!WriteFile(out.get(), data, static_cast<DWORD>(size), &written, nullptr) || written != size)
            throw Exception(FormatText(L"ファイル %s に書き込めません", {path}));
    };
    write(&file, sizeof(file));
    write(&header, sizeof(header));

    // The tile column at the screen's left edge; -w < start.x <= 0.
    const int firstColumn = static_cast<int>(((-static_cast<long long>(start.x)) % w + w) % w);
    const size_t rowPixels = static_cast<size_t>(screenWidth);
    const int bandRows = std::max(1, static_cast<int>((1u << 20) / (rowPixels * 4)));
    std::vector<uint32_t> band(rowPixels * std::min(bandRows, screenHeight));
    int filled = 0;
    // Bottom row first, as the file stores them.
    for (int y = screenHeight - 1; y >= 0; --y) {
        const int tileRow = static_cast<int>(((static_cast<long long>(y) - start.y) % h + h) % h);
        const uint32_t* source = &tile[static_cast<size_t>(tileRow) * w];
        uint32_t* row = &band[static_cast<size_t>(filled) * rowPixels];
        int x = 0, column = firstColumn;
        while (x < screenWidth) {
            int run = std::min(w - column, screenWidth - x);
            std::memcpy(row + x, source + column, static_cast<size_t>(run) * 4);
            x += run;
            column = 0;
        }
        if (++filled == bandRows || y == 0) {
            write(band.data(), static_cast<size_t>(filled) * rowPixels * 4);
            filled = 0;
        }
    }
}
