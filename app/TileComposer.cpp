#include "app/TileComposer.h"

#include "framework/Exception.h"
#include "framework/TPicture.h"

UniqueBitmap ComposeTiles(const TPicture& picture, TileStart start, int screenWidth, int screenHeight) {
    UniqueBitmap tile = picture.RenderToBitmap();
    int w = picture.Width(), h = picture.Height();
    WindowDC screen(nullptr);
    UniqueBitmap canvas{CreateCompatibleBitmap(screen.get(), screenWidth, screenHeight)};
    UniqueDC canvasDC{CreateCompatibleDC(screen.get())}, tileDC{CreateCompatibleDC(screen.get())};
    if (!tile || !canvas || !canvasDC || !tileDC || w <= 0 || h <= 0)
        throw Exception(L"壁紙の作成に必要なメモリーが確保出来ません。");
    SelectGuard selectCanvas(canvasDC.get(), canvas.get());
    SelectGuard selectTile(tileDC.get(), tile.get());
    // Rows from top to bottom, each from left to right.
    for (int y = start.y; y < screenHeight; y += h)
        for (int x = start.x; x < screenWidth; x += w)
            BitBlt(canvasDC.get(), x, y, w, h, tileDC.get(), 0, 0, SRCCOPY);
    return canvas;
}
