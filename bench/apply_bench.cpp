// The apply step's own work, timed: writing a picture unchanged (centred)
// and composing a screen-sized tiled bitmap and writing it (tiled), both
// through the program's apply step (ApplyWallpaper), for two
// screen sizes. Each case is followed by the limit: a raw write of the same
// number of bytes to the same folder. Prints one line per case: name, size,
// median milliseconds, the raw write's median milliseconds.
// Usage: apply_bench OUTDIR [runs]
#include "wallpaper/ApplyStep.h"
#include "wallpaper/PictureReader.h"
#include "wallpaper/TWallChanger.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {
DecodedPicture Gradient(int w, int h) {
    DecodedPicture picture;
    picture.Width = w;
    picture.Height = h;
    picture.Pixels.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.Pixels[static_cast<size_t>(y) * w + x] =
                0xFF000000u | RGB(x * 255 / w, y * 255 / h, (x ^ y) & 255);
    return picture;
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
    TComponent owner(nullptr);
    TWallChanger desktop(&owner);
    desktop.SystemParametersInfo = [](UINT, UINT, void*, UINT) { return TRUE; };
    auto apply = [&](const DecodedPicture& picture, TDisplayPosition position, int w, int h,
                     const std::wstring& target) {
        WallpaperRequest request;
        request.BitmapPath = target;
        request.Monitors = {{{0, 0, w, h}, true}};
        request.Pictures = {{&picture, position}};
        ApplyWallpaper(desktop, request);
    };
    for (auto s : screens) {
        const DecodedPicture whole = Gradient(s.w, s.h);
        std::wstring target = out + L"\\centred.bmp";
        double centred = Median(runs, [&] { apply(whole, TDisplayPosition::Centred, s.w, s.h, target); });
        std::printf("centred %dx%d %.1f %.1f\n", s.w, s.h, centred, RawWrite(runs, target, out + L"\\raw.bin"));
        for (auto tileSize : {Screen{64, 64}, Screen{500, 300}}) {
            const DecodedPicture tile = Gradient(tileSize.w, tileSize.h);
            std::wstring tiled = out + L"\\tiled.bmp";
            double ms = Median(runs, [&] { apply(tile, TDisplayPosition::Tiled, s.w, s.h, tiled); });
            std::printf("tiled%dx%d %dx%d %.1f %.1f\n", tileSize.w, tileSize.h, s.w, s.h, ms,
                        RawWrite(runs, tiled, out + L"\\raw.bin"));
        }
    }
    return 0;
}
