// resample_bench [RUNS]: the streaming resampler shrinking a 6000x4000
// picture to 1920x1080, fed in bands of 16 rows as a plug-in feeds it, from
// 32-bit BGRA and from 24-bit BGR rows; the baseline is a plain memcpy of the
// same source bytes in the same run. Prints median ms:
//   resample-bgra MS MEMCPY_MS    resample-bgr MS MEMCPY_MS
#include "base/RowResampler.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <tuple>
#include <vector>

namespace {
constexpr PixelSize kSource{6000, 4000}, kTarget{1920, 1080};
constexpr int kBandRows = 16;

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Something like a photo: smooth colour with fine detail, and some pixels
// not opaque in the 32-bit picture's last rows (the path with alpha).
std::vector<uint8_t> Picture(int bytesPerPixel) {
    std::vector<uint8_t> pixels(size_t(kSource.width) * kSource.height * bytesPerPixel);
    uint8_t* p = pixels.data();
    for (int y = 0; y < kSource.height; ++y)
        for (int x = 0; x < kSource.width; ++x, p += bytesPerPixel) {
            p[0] = uint8_t(x / 24 + (x * y & 7));
            p[1] = uint8_t(y / 16 + (x ^ (y & 3)));
            p[2] = uint8_t((x + y) / 40);
            if (bytesPerPixel == 4) p[3] = y < kSource.height - 100 ? 255 : uint8_t(x);
        }
    return pixels;
}

void Resample(const std::vector<uint8_t>& pixels, RowFormat format, std::vector<uint8_t>& out) {
    const ptrdiff_t stride = ptrdiff_t(kSource.width) * (format == RowFormat::Bgr24 ? 3 : 4);
    RowResampler resampler(kSource, kTarget, format, [&](int y, const uint8_t* row) {
        std::memcpy(&out[size_t(y) * kTarget.width * 4], row, size_t(kTarget.width) * 4);
    });
    for (int y = 0; y < kSource.height; y += kBandRows)
        resampler.Push(pixels.data() + stride * y, stride, std::min(kBandRows, kSource.height - y));
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
    std::vector<uint8_t> out(size_t(kTarget.width) * kTarget.height * 4);
    for (auto [name, format, bytes] : {std::tuple{"resample-bgra", RowFormat::Bgra32, 4},
                                       std::tuple{"resample-bgr", RowFormat::Bgr24, 3}}) {
        const std::vector<uint8_t> pixels = Picture(bytes);
        std::vector<uint8_t> copy(pixels.size());
        const double resample = MedianMs(runs, [&] { Resample(pixels, format, out); });
        const double memcpyMs =
            MedianMs(runs, [&] { std::memcpy(copy.data(), pixels.data(), pixels.size()); });
        std::printf("%s %.1f %.1f\n", name, resample, memcpyMs);
    }
    return 0;
}
