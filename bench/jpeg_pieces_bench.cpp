// bench_jpeg_pieces IN.jpg OUT.bmp [RUNS]: the steps of loading a JPEG
// wallpaper through ifjpeg.spi and saving it as a BMP, each timed on its own
// (median over the runs, in ms), plus the WIC steps the plug-in performs,
// so a slow total can be traced to its part.
#include "framework/Handle.h"
#include "framework/TPicture.h"
#include "plugins/common/DibWriter.h"
#include "plugins/common/SourceData.h"
#include "plugins/common/WicPicture.h"
#include "wallpaper/SpiPlugin.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {
using Microsoft::WRL::ComPtr;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

class Timings {
  public:
    void Time(const std::string& name, const std::function<void()>& step) {
        const double start = Now();
        step();
        times_[name].push_back(Now() - start);
        if (std::find(order_.begin(), order_.end(), name) == order_.end()) order_.push_back(name);
    }
    void Print() {
        for (const auto& name : order_) {
            auto& t = times_[name];
            std::sort(t.begin(), t.end());
            const size_t n = t.size();
            const double median = n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
            std::printf("%-40s %7.1f ms\n", name.c_str(), median);
        }
    }

  private:
    std::map<std::string, std::vector<double>> times_;
    std::vector<std::string> order_;
};

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::exit(1);
    }
}

// What GetPicture does inside the plug-in, step by step.
void TimePluginSteps(Timings& t, const std::string& path) {
    std::optional<spi::SourceData> source;
    t.Time("plugin: read file", [&] { source = spi::SourceData::Open(path.c_str(), 0, 0); });
    spi::ComScope com;
    std::optional<spi::WicPicture> picture;
    t.Time("plugin: open decoder", [&] { picture.emplace(source->bytes(), GUID_ContainerFormatJpeg); });
    spi::FrameInfo frame;
    std::vector<WICColor> palette;
    spi::ComPtr<IWICBitmapSource> bgra, bgr;
    t.Time("plugin: info, palette, converter", [&] {
        frame = picture->Info();
        palette = picture->Palette();
        bgr = picture->NativeBgr();
        if (!bgr) bgra = picture->Bgra();
    });
    spi::Dib dib;
    t.Time("plugin: WriteDib", [&] {
        dib = spi::WriteDib({bgra.Get(), bgr.Get(), frame.width, frame.height, palette, frame.dpiX, frame.dpiY},
                            spi::Progress(nullptr, 0));
    });
    t.Time("plugin: release", [&] {
        dib = {};
        bgra.Reset();
        bgr.Reset();
        picture.reset();
    });
}

void TimeWic(Timings& t, const std::wstring& in) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    t.Time("wic: factory", [&] {
        Require(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(&factory))),
                "factory");
    });
    t.Time("wic: decoder + frame", [&] {
        Require(SUCCEEDED(factory->CreateDecoderFromFilename(in.c_str(), nullptr, GENERIC_READ,
                                                              WICDecodeMetadataCacheOnDemand, &decoder)),
                "decoder");
        Require(SUCCEEDED(decoder->GetFrame(0, &frame)), "frame");
    });
    UINT w = 0, h = 0;
    frame->GetSize(&w, &h);
    WICPixelFormatGUID format{};
    frame->GetPixelFormat(&format);
    std::vector<BYTE> native(size_t(w) * 3 * h);
    t.Time("wic: native CopyPixels whole (24bpp)", [&] {
        Require(SUCCEEDED(frame->CopyPixels(nullptr, w * 3, UINT(native.size()), native.data())), "native");
    });
    t.Time("wic: converter init", [&] {
        Require(SUCCEEDED(factory->CreateFormatConverter(&converter)), "converter");
        Require(SUCCEEDED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                                WICBitmapDitherTypeNone, nullptr, 0.0,
                                                WICBitmapPaletteTypeCustom)),
                "init");
    });
    std::vector<BYTE> bgra(size_t(w) * 4 * h);
    t.Time("wic: BGRA CopyPixels whole", [&] {
        Require(SUCCEEDED(converter->CopyPixels(nullptr, w * 4, UINT(bgra.size()), bgra.data())), "bgra");
    });
    t.Time("wic: BGRA CopyPixels 64 KB strips", [&] {
        const UINT rows = std::max<UINT>(1, 65536 / (w * 4));
        for (UINT y = 0; y < h; y += rows) {
            const WICRect rect{0, INT(y), INT(w), INT(std::min(rows, h - y))};
            Require(SUCCEEDED(converter->CopyPixels(&rect, w * 4, UINT(bgra.size()), bgra.data())), "strip");
        }
    });
    t.Time("fresh 8 MB vector touch", [&] { std::vector<BYTE> fresh(size_t(w) * 4 * h, 1); });
    converter.Reset();
    frame.Reset();
    decoder.Reset();
    factory.Reset();
    CoUninitialize();
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_jpeg_pieces IN.jpg OUT.bmp [RUNS]\n");
        return 2;
    }
    const std::wstring in = argv[1], out = argv[2];
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 10;
    char ansi[MAX_PATH];
    Require(WideCharToMultiByte(CP_ACP, 0, in.c_str(), -1, ansi, MAX_PATH, nullptr, nullptr) > 0, "path");
    const std::string path = ansi;
    Timings t;
    for (int i = 0; i < runs; ++i) {
        std::optional<TSpiLibrary> library;
        t.Time("load ifjpeg.spi", [&] { library = TSpiLibrary::Load(L"ifjpeg.spi", true); });
        Require(library.has_value(), "load");
        TSpiPictureInfo info;
        t.Time("GetPictureInfo", [&] { Require(library->GetPictureInfo(path, 0, info) == 0, "info"); });
        UniqueBitmap bitmap;
        t.Time("CreateCompatibleBitmap", [&] {
            WindowDC screen(nullptr);
            bitmap = UniqueBitmap(CreateCompatibleBitmap(screen.get(), info.Width, info.Height));
        });
        TSpiDib dib;
        t.Time("GetPicture", [&] { Require(library->GetPicture(path, 0, dib) == 0, "picture"); });
        t.Time("SetDIBits", [&] {
            TLockedDib locked(dib);
            WindowDC screen(nullptr);
            Require(SetDIBits(screen.get(), bitmap.get(), 0, locked.Height(), locked.Bits(), locked.Info(),
                              DIB_RGB_COLORS) != 0,
                    "SetDIBits");
        });
        t.Time("free DIB blocks", [&] { dib = {}; });
        t.Time("SaveBitmapToFile", [&] { SaveBitmapToFile(bitmap.get(), nullptr, out); });
        t.Time("unload ifjpeg.spi", [&] { library.reset(); });
        TimeWic(t, in);
        TimePluginSteps(t, path);
    }
    {
        WindowDC screen(nullptr);
        std::printf("screen: %d bits per pixel\n", GetDeviceCaps(screen.get(), BITSPIXEL));
    }
    t.Print();
    return 0;
}
