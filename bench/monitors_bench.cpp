// Composing the wallpaper of two 3840x2160 monitors and writing it, timed
// against a raw write of the same number of bytes to the same folder, the two
// in turn: each monitor with its own picture already scaled (stretched), the
// same tile on both, and the secondary left of the primary (its part wrapped
// around).
// Prints one line per case: name, size, median milliseconds, the raw write's
// median milliseconds.
// Usage: monitors_bench OUTDIR [runs]
#include "wallpaper/DesktopComposer.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {
double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The medians of a case and of a raw write of the bytes it wrote, taken in
// turn, so that both meet the same load of the machine.
template <typename F>
std::pair<double, double> AgainstRawWrite(int runs, F&& work, const std::wstring& written,
                                          const std::wstring& target) {
    work();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(written.c_str(), GetFileExInfoStandard, &data);
    const std::vector<char> bytes(data.nFileSizeLow, '\x5a');
    std::vector<double> ours, raw;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        work();
        ours.push_back(Ms(t0));
        t0 = std::chrono::steady_clock::now();
        HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD done = 0;
        if (file != INVALID_HANDLE_VALUE) {
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
            CloseHandle(file);
        }
        raw.push_back(Ms(t0));
    }
    return {Median(ours), Median(raw)};
}

std::vector<uint32_t> Gradient(int w, int h, int seed) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[static_cast<size_t>(y) * w + x] =
                DesktopPixel(RGB(x * 255 / w, y * 255 / h, (x ^ y ^ seed) & 255));
    return pixels;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring out = argv[1];
    const int runs = argc > 2 ? _wtoi(argv[2]) : 10;
    const int w = 3840, h = 2160;
    const DesktopMonitor sideBySide[] = {{{0, 0, w, h}, true}, {{w, 0, 2 * w, h}}};
    const DesktopMonitor leftOfPrimary[] = {{{0, 0, w, h}, true}, {{-w, 0, 0, h}}};
    const std::vector<uint32_t> first = Gradient(w, h, 1), second = Gradient(w, h, 2),
                                tile = Gradient(500, 300, 3);

    struct Case {
        const char* name;
        std::span<const DesktopMonitor> monitors;
        MonitorMode mode;
        PicturePosition position;
    } cases[] = {
        {"monitors-own", sideBySide, MonitorMode::OnePerMonitor, PicturePosition::Stretched},
        {"monitors-tiled500x300", sideBySide, MonitorMode::SameOnEvery, PicturePosition::Tiled},
        {"monitors-own-wrapped", leftOfPrimary, MonitorMode::OnePerMonitor, PicturePosition::Stretched},
    };
    for (const Case& c : cases) {
        const bool tiled = c.position == PicturePosition::Tiled;
        const PictureChoice choices[] = {{tiled ? SIZE{500, 300} : SIZE{1920, 1080}, c.position},
                                         {SIZE{1600, 1200}, c.position}};
        DesktopLayout layout = LayOutDesktop(c.monitors, c.mode, choices, {}, TileOrigin::PrimaryMonitor);
        std::vector<ScaledPicture> pictures;
        for (const ScaleRequest& r : layout.Scaled)
            pictures.push_back(PixelsPicture(tiled            ? tile
                                             : r.Picture == 0 ? first
                                                              : second,
                                             r.Size.cx, r.Size.cy));
        const std::wstring target = out + L"\\desktop.bmp";
        auto [ms, raw] = AgainstRawWrite(
            runs, [&] { WriteDesktopBitmap(layout, pictures, RGB(0, 0, 0), target); }, target,
            out + L"\\raw.bin");
        std::printf("%s %dx%d %.1f %.1f\n", c.name, 2 * w, h, ms, raw);
    }
    return 0;
}
