#include "support/TileComposer.h"

#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/TPicture.h"

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
    info.bmiHeader = DibHeader(w, -h, 32);
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

    // The tile column at the screen's left edge; -w < start.x <= 0.
    const int firstColumn = static_cast<int>(((-static_cast<long long>(start.x)) % w + w) % w);
    BmpFormat format;
    format.Width = screenWidth;
    format.Height = screenHeight;
    format.BitCount = 32;
    WriteBmpFile(path, format, 1u << 20, [&](int first, int count, BYTE* band) {
        for (int i = 0; i < count; ++i) {
            const int y = screenHeight - 1 - (first + i);
            const int tileRow = static_cast<int>(((static_cast<long long>(y) - start.y) % h + h) % h);
            const uint32_t* source = &tile[static_cast<size_t>(tileRow) * w];
            auto* row = reinterpret_cast<uint32_t*>(band) + static_cast<size_t>(i) * screenWidth;
            int x = 0, column = firstColumn;
            while (x < screenWidth) {
                int run = std::min(w - column, screenWidth - x);
                std::memcpy(row + x, source + column, static_cast<size_t>(run) * 4);
                x += run;
                column = 0;
            }
        }
    });
}
