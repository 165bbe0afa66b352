// The apply step's own work, timed: writing a picture unchanged (centred)
// and composing a screen-sized tiled bitmap and writing it (tiled), for two
// screen sizes. Each case is followed by the limit: a raw write of the same
// number of bytes to the same folder. Prints one line per case: name, size,
// median milliseconds, the raw write's median milliseconds.
// Usage: apply_bench OUTDIR [runs]
#include "wallpaper/TileComposer.h"
#include "base/BmpWriter.h"
#include "framework/TPicture.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {
UniqueBitmap Gradient(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader = DibHeader(w, -h, 32);
    std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[static_cast<size_t>(y) * w + x] = RGB(x * 255 / w, y * 255 / h, (x ^ y) & 255);
    WindowDC screen(nullptr);
    UniqueBitmap bmp{CreateCompatibleBitmap(screen.get(), w, h)};
    SetDIBits(screen.get(), bmp.get(), 0, h, pixels.data(), &info, DIB_RGB_COLORS);
    return bmp;
}

// The bytes of the file a case wrote, written again plainly.
double RawWrite(int runs, const std::wstring& written, const std::wstring& target);

template <typename F> double Median(int runs, F&& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        work();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
double RawWrite(int runs, const std::wstring& written, const std::wstring& target) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(written.c_str(), GetFileExInfoStandard, &data)) return -1;
    std::vector<char> bytes(data.nFileSizeLow, '\x5a');
    return Median(runs, [&] {
        HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD done = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
        CloseHandle(file);
    });
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::wstring out = argv[1];
    int runs = argc > 2 ? _wtoi(argv[2]) : 10;
    struct Screen {
        int w, h;
    } screens[] = {{1920, 1080}, {3840, 2160}};
    for (auto s : screens) {
        TPicture whole;
        whole.AssignBitmap(Gradient(s.w, s.h));
        std::wstring target = out + L"\\centred.bmp";
        double centred = Median(runs, [&] { whole.SaveToFile(target); });
        std::printf("centred %dx%d %.1f %.1f\n", s.w, s.h, centred, RawWrite(runs, target, out + L"\\raw.bin"));
        for (auto tileSize : {Screen{64, 64}, Screen{500, 300}}) {
            TPicture tile;
            tile.AssignBitmap(Gradient(tileSize.w, tileSize.h));
            std::wstring tiled = out + L"\\tiled.bmp";
            double ms = Median(runs, [&] {
                TileStart start = FirstTile(s.w, s.h, tileSize.w, tileSize.h, false, false, 0, 0);
                WriteTiledBitmap(tile, start, s.w, s.h, tiled);
            });
            std::printf("tiled%dx%d %dx%d %.1f %.1f\n", tileSize.w, tileSize.h, s.w, s.h, ms,
                        RawWrite(runs, tiled, out + L"\\raw.bin"));
            tile.SaveToFile(out + L"\\tile" + std::to_wstring(tileSize.w) + L"x" +
                            std::to_wstring(tileSize.h) + L".bmp");
        }
        whole.SaveToFile(out + L"\\whole" + std::to_wstring(s.w) + L".bmp");
    }
    return 0;
}
