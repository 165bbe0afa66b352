// bench_sized_decode MODE IN.jpg [RUNS]: one way of decoding a big JPEG for a
// 1920x1080 screen, timed in process (median ms), and the process's peak
// working set afterwards. Each mode runs in a process of its own, so the
// peaks compare.
//   platform  the platform decoder's own full decode of the file: WIC opens
//             it and copies every pixel out in its native format
//   fill, fit, stretch
//             GetPictureAtSize of ifjpeg.spi from this folder: the query for
//             the picture's size, then the decode at what the placement needs
// Prints: MODE MEDIAN_MS PEAK_WORKING_SET_MB START_WORKING_SET_MB
#include "base/PictureGeometry.h"
#include "plugins/SizedPictureApi.h"

#include <windows.h>

#include <psapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
using Microsoft::WRL::ComPtr;
constexpr PixelSize kScreen{1920, 1080};

double Megabytes(size_t bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

bool PlatformDecode(IWICImagingFactory* factory, const std::wstring& path) {
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0, bits = 24;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)))
        return false;
    WICPixelFormatGUID format{};
    ComPtr<IWICComponentInfo> component;
    ComPtr<IWICPixelFormatInfo> info;
    if (SUCCEEDED(frame->GetPixelFormat(&format)) &&
        SUCCEEDED(factory->CreateComponentInfo(format, &component)) && SUCCEEDED(component.As(&info)))
        info->GetBitsPerPixel(&bits);
    const UINT stride = (width * bits + 31) / 32 * 4;
    const size_t size = size_t(stride) * height;
    // Not zeroed first: the decoder writes every byte.
    const auto pixels = std::make_unique_for_overwrite<BYTE[]>(size);
    return SUCCEEDED(frame->CopyPixels(nullptr, stride, UINT(size), pixels.get()));
}

// The host's steps for one placement: ask the size, place, decode.
bool SizedDecode(susie::GetPictureAtSizeProc sized, const std::string& path, const std::string& mode) {
    susie::SizedResult result{};
    result.size = sizeof(result);
    if (sized(path.c_str(), 0, 0, nullptr, &result, nullptr, nullptr, nullptr, 0) != 0) return false;
    const PixelSize picture{result.pictureWidth, result.pictureHeight};
    susie::SizedRequest request{sizeof(request), kScreen.width, kScreen.height, 0, 0, 0, 0};
    if (mode == "fill") {
        const FillPlan plan = FillGeometry(picture, kScreen);
        request.cropLeft = plan.crop.left, request.cropTop = plan.crop.top;
        request.cropWidth = plan.crop.width, request.cropHeight = plan.crop.height;
    } else if (mode == "fit") {
        const PixelRect placed = FitGeometry(picture, kScreen);
        request.width = placed.width, request.height = placed.height;
    }
    HLOCAL info = nullptr, bits = nullptr;
    const int32_t code = sized(path.c_str(), 0, 0, &request, &result, &info, &bits, nullptr, 0);
    LocalFree(info);
    LocalFree(bits);
    return code == 0;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_sized_decode platform|fill|fit|stretch IN.jpg [RUNS]\n");
        return 2;
    }
    const std::wstring wideMode = argv[1], path = argv[2];
    const std::string mode(wideMode.begin(), wideMode.end());
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 5;
    const size_t start = Memory().WorkingSetSize;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::function<bool()> decode;
    ComPtr<IWICImagingFactory> factory;
    HMODULE plugin = nullptr;
    if (mode == "platform") {
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&factory))))
            return 1;
        decode = [&] { return PlatformDecode(factory.Get(), path); };
    } else {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring folder(self);
        folder.resize(folder.find_last_of(L'\\') + 1);
        plugin = LoadLibraryW((folder + L"ifjpeg.spi").c_str());
        auto sized = reinterpret_cast<susie::GetPictureAtSizeProc>(
            reinterpret_cast<void*>(GetProcAddress(plugin, "GetPictureAtSize")));
        char ansi[MAX_PATH];
        if (!sized || !WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi, MAX_PATH, nullptr, nullptr))
            return 1;
        decode = [sized, mode, file = std::string(ansi)] { return SizedDecode(sized, file, mode); };
    }
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!decode()) {
            std::fprintf(stderr, "%s failed\n", mode.c_str());
            return 1;
        }
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s %.1f %.1f %.1f\n", mode.c_str(), ms[ms.size() / 2],
                Megabytes(Memory().PeakWorkingSetSize), Megabytes(start));
    factory.Reset();
    if (plugin) FreeLibrary(plugin);
    CoUninitialize();
    return 0;
}
