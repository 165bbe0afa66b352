// bench_jpeg_decode IN.jpg OUT.bmp [RUNS]: what the program does with a JPEG
// wallpaper, timed: the picture component loads it through ifjpeg.spi from
// this folder into a bitmap of the screen's format, and that picture is saved
// as a BMP file. Prints each run and the median in ms.
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "wallpaper/TAll.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
// One picture as the program handles it; false when it did not load.
bool DecodeOnce(TAll& picture, const std::wstring& in, const std::wstring& out) {
    picture.SetPictureName(L"");
    picture.SetPictureName(in);
    if (picture.Error() != 0 || picture.Picture().Empty()) return false;
    picture.Picture().SaveToFile(out);
    return true;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_jpeg_decode IN.jpg OUT.bmp [RUNS]\n");
        return 2;
    }
    const std::wstring in = argv[1];
    TApplication application;
    auto owner = std::make_unique<TComponent>(nullptr);
    TForm& form = owner->Own<TForm>();
    TAll& picture = owner->Own<TAll>(form);
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 10;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const bool loaded = DecodeOnce(picture, in, argv[2]);
        QueryPerformanceCounter(&end);
        if (!loaded) {
            std::fprintf(stderr, "run %d failed: %d\n", i + 1, picture.Error());
            return 1;
        }
        times.push_back(double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
        std::printf("run %d: %.1f ms\n", i + 1, times.back());
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("median: %.1f ms over %d runs\n", median, runs);
    return 0;
}
