#include "TestImages.h"

#include <wrl/client.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

using Microsoft::WRL::ComPtr;

namespace testimg {
namespace {
void Must(HRESULT hr, const char* what) {
    if (FAILED(hr))
        throw std::runtime_error(std::string(what) + " failed: 0x" + std::to_string(unsigned(hr)));
}

// COM for one encoding; balanced so it leaves the thread as it found it.
class Com {
  public:
    Com() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~Com() {
        if (ok_) CoUninitialize();
    }

  private:
    bool ok_;
};

struct Frame {
    const GUID* format;
    // When set, the rows are made by this, in bands, instead of `pixels`.
    PixelFn bands;
    uint32_t width;
    uint32_t height;
    uint32_t stride;
    Bytes pixels;
    std::vector<WICColor> palette;
    double dpiX = 0;
    double dpiY = 0;
};

Bytes Encode(const GUID& container, Frame frame) {
    Com com;
    ComPtr<IWICImagingFactory> factory;
    Must(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)),
         "factory");
    ComPtr<IStream> stream;
    Must(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "stream");
    ComPtr<IWICBitmapEncoder> encoder;
    Must(factory->CreateEncoder(container, nullptr, &encoder), "encoder");
    Must(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "encoder init");
    ComPtr<IWICBitmapFrameEncode> target;
    ComPtr<IPropertyBag2> options;
    Must(encoder->CreateNewFrame(&target, &options), "frame");
    if (container == GUID_ContainerFormatJpeg) {
        PROPBAG2 name{};
        name.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = 1.0f;
        options->Write(1, &name, &value); // the highest quality keeps the checks tight where it is honoured
    }
    Must(target->Initialize(options.Get()), "frame init");
    Must(target->SetSize(frame.width, frame.height), "size");
    if (frame.dpiX > 0) Must(target->SetResolution(frame.dpiX, frame.dpiY), "resolution");
    WICPixelFormatGUID format = *frame.format;
    Must(target->SetPixelFormat(&format), "pixel format");
    if (format != *frame.format) throw std::runtime_error("the encoder changed the pixel format");
    if (!frame.palette.empty()) {
        ComPtr<IWICPalette> palette;
        Must(factory->CreatePalette(&palette), "palette");
        Must(palette->InitializeCustom(frame.palette.data(), static_cast<UINT>(frame.palette.size())),
             "colours");
        Must(target->SetPalette(palette.Get()), "set palette");
    }
    if (frame.bands) {
        for (uint32_t top = 0; top < frame.height; top += 64) {
            const uint32_t rows = std::min<uint32_t>(64, frame.height - top);
            frame.pixels.assign(size_t(frame.stride) * rows, 0);
            for (uint32_t y = 0; y < rows; ++y)
                for (uint32_t x = 0; x < frame.width; ++x) {
                    const uint32_t c = frame.bands(x, top + y);
                    std::memcpy(&frame.pixels[y * frame.stride + x * 3], &c, 3);
                }
            Must(target->WritePixels(rows, frame.stride, UINT(frame.pixels.size()), frame.pixels.data()),
                 "band");
        }
    } else {
        Must(target->WritePixels(frame.height, frame.stride, static_cast<UINT>(frame.pixels.size()),
                                 frame.pixels.data()),
             "pixels");
    }
    Must(target->Commit(), "frame commit");
    Must(encoder->Commit(), "commit");
    STATSTG stat{};
    Must(stream->Stat(&stat, STATFLAG_NONAME), "stat");
    HGLOBAL memory = nullptr;
    Must(GetHGlobalFromStream(stream.Get(), &memory), "memory");
    const auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
    Bytes bytes(data, data + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return bytes;
}
} // namespace

uint32_t Pattern(uint32_t x, uint32_t y) {
    const uint32_t r = (x * 37 + y * 11) & 0xFF;
    const uint32_t g = (x * 5 + y * 71 + 40) & 0xFF;
    const uint32_t b = ((x ^ y) * 13 + 7) & 0xFF;
    return r << 16 | g << 8 | b;
}

uint32_t Gradient(uint32_t x, uint32_t y) {
    const uint32_t r = std::min<uint32_t>(255, 40 + x * 6);
    const uint32_t g = std::min<uint32_t>(255, 30 + y * 7);
    const uint32_t b = 220 - std::min<uint32_t>(220, x * 2 + y * 3);
    return r << 16 | g << 8 | b;
}

Bytes EncodeRgb(const GUID& container, uint32_t width, uint32_t height, const PixelFn& pixel) {
    Frame frame{&GUID_WICPixelFormat24bppBGR, {}, width, height, (width * 3 + 3) & ~3u, {}, {}};
    frame.pixels.resize(size_t(frame.stride) * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t c = pixel(x, y);
            uint8_t* p = &frame.pixels[y * frame.stride + x * 3];
            p[0] = uint8_t(c);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c >> 16);
        }
    return Encode(container, std::move(frame));
}

Bytes EncodeIndexed(const GUID& container, uint32_t width, uint32_t height,
                    const std::vector<uint32_t>& colours,
                    const std::function<uint8_t(uint32_t x, uint32_t y)>& index) {
    Frame frame{&GUID_WICPixelFormat8bppIndexed, {}, width, height, (width + 3) & ~3u, {}, {}};
    for (uint32_t c : colours)
        frame.palette.push_back(0xFF000000 | c);
    frame.pixels.resize(size_t(frame.stride) * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            frame.pixels[y * frame.stride + x] = index(x, y);
    return Encode(container, std::move(frame));
}

Bytes EncodeRgba(uint32_t width, uint32_t height, const PixelFn& pixel) {
    Frame frame{&GUID_WICPixelFormat32bppBGRA, {}, width, height, width * 4, {}, {}};
    frame.pixels.resize(size_t(frame.stride) * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t c = pixel(x, y);
            std::memcpy(&frame.pixels[y * frame.stride + x * 4], &c, 4);
        }
    return Encode(GUID_ContainerFormatPng, std::move(frame));
}

Bytes EncodeLargeJpeg(uint32_t width, uint32_t height, const PixelFn& pixel) {
    return Encode(GUID_ContainerFormatJpeg,
                  Frame{&GUID_WICPixelFormat24bppBGR, pixel, width, height, (width * 3 + 3) & ~3u, {}, {}});
}

Bytes EncodeWithResolution(uint32_t width, uint32_t height, double dpiX, double dpiY) {
    Frame frame{&GUID_WICPixelFormat24bppBGR, {}, width, height, (width * 3 + 3) & ~3u, {}, {}};
    frame.pixels.assign(size_t(frame.stride) * height, 0x80);
    frame.dpiX = dpiX;
    frame.dpiY = dpiY;
    return Encode(GUID_ContainerFormatPng, std::move(frame));
}

std::wstring TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"tapestra_plugins\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string Ansi(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), length, nullptr, nullptr);
    ansi.resize(size_t(length - 1));
    return ansi;
}

TempFile::TempFile(const std::wstring& name, const Bytes& content) : path_(TempFolder() + name) {
    HANDLE file =
        CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a test file");
    DWORD written = 0;
    WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr);
    CloseHandle(file);
    if (written != content.size()) throw std::runtime_error("cannot write a test file");
}

TempFile::~TempFile() {
    DeleteFileW(path_.c_str());
}

std::string TempFile::ansi() const {
    return Ansi(path_);
}

} // namespace testimg
