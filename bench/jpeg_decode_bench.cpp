// bench_jpeg_decode IN.jpg OUT.bmp [RUNS]: what the program does with a JPEG
// wallpaper, timed: load ifjpeg.spi from this folder, GetPicture, write the
// DIB as a BMP file, free everything. Prints each run and the median in ms.
#include "framework/Handle.h"
#include "plugins/SusieApi.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::string Ansi(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), length, nullptr, nullptr);
    ansi.resize(size_t(length - 1));
    return ansi;
}

bool WriteBmp(const std::wstring& path, HLOCAL infoBlock, HLOCAL bitsBlock) {
    const auto* info = static_cast<const BITMAPINFOHEADER*>(LocalLock(infoBlock));
    const auto* bits = static_cast<const BYTE*>(LocalLock(bitsBlock));
    const DWORD infoSize = info->biSize + info->biClrUsed * sizeof(RGBQUAD);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + infoSize;
    file.bfSize = file.bfOffBits + info->biSizeImage;
    bool ok = false;
    HANDLE out =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        UniqueKernelHandle owner(out);
        DWORD written = 0;
        ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
             WriteFile(out, info, infoSize, &written, nullptr) &&
             WriteFile(out, bits, info->biSizeImage, &written, nullptr);
    }
    LocalUnlock(bitsBlock);
    LocalUnlock(infoBlock);
    return ok;
}

// One picture as the program handles it; returns the plug-in result.
int32_t DecodeOnce(const std::string& in, const std::wstring& out) {
    UniqueModule plugin(LoadLibraryW((ProgramFolder() + L"ifjpeg.spi").c_str()));
    if (!plugin) return -1000;
    auto getPicture = reinterpret_cast<susie::GetPictureProc>(
        reinterpret_cast<void*>(GetProcAddress(plugin.get(), "GetPicture")));
    if (!getPicture) return -1001;
    HLOCAL info = nullptr, bits = nullptr;
    const int32_t result = getPicture(in.c_str(), 0, susie::kSourceFile, &info, &bits, nullptr, 0);
    if (result != susie::Success) return result;
    const bool written = WriteBmp(out, info, bits);
    LocalFree(info);
    LocalFree(bits);
    return written ? susie::Success : -1002;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_jpeg_decode IN.jpg OUT.bmp [RUNS]\n");
        return 2;
    }
    const std::string in = Ansi(argv[1]);
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 10;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const int32_t result = DecodeOnce(in, argv[2]);
        QueryPerformanceCounter(&end);
        if (result != susie::Success) {
            std::fprintf(stderr, "run %d failed: %d\n", i + 1, int(result));
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
