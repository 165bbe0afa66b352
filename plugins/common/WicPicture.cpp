#include "plugins/common/WicPicture.h"

#include "plugins/common/DeclaredSize.h"
#include "plugins/common/Failure.h"

#include <limits>

namespace spi {

ComScope::ComScope()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComScope::~ComScope() {
    if (initialised_) CoUninitialize();
}

void Check(HRESULT hr, susie::Result otherwise) {
    if (SUCCEEDED(hr)) return;
    switch (hr) {
    case E_OUTOFMEMORY:
        Fail(susie::NoMemory);
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT:
        Fail(susie::UnknownFormat);
    default:
        Fail(otherwise);
    }
}

WicPicture::WicPicture(std::span<const uint8_t> bytes, const GUID& container) {
    if (bytes.size() > std::numeric_limits<DWORD>::max()) Fail(susie::NoMemory);
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_)),
          susie::InternalError);
    Check(factory_->CreateStream(&stream_), susie::InternalError);
    // WIC only reads through the stream; the cast serves its signature.
    Check(stream_->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())),
          susie::InternalError);
    Check(factory_->CreateDecoder(container, nullptr, &decoder_), susie::UnknownFormat);
    Check(decoder_->Initialize(stream_.Get(), WICDecodeMetadataCacheOnDemand), susie::BrokenData);
    Check(decoder_->GetFrame(0, &frame_), susie::BrokenData);
}

namespace {
uint32_t BitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
    ComPtr<IWICComponentInfo> component;
    ComPtr<IWICPixelFormatInfo> info;
    UINT bits = 0;
    if (SUCCEEDED(factory->CreateComponentInfo(format, &component)) && SUCCEEDED(component.As(&info)) &&
        SUCCEEDED(info->GetBitsPerPixel(&bits)) && bits > 0)
        return bits;
    return 24;
}
} // namespace

FrameInfo WicPicture::Info() const {
    FrameInfo info;
    UINT width = 0, height = 0;
    Check(frame_->GetSize(&width, &height), susie::BrokenData);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) Fail(susie::BrokenData);
    if (!WithinLimits(width, height)) Fail(susie::NoMemory);
    info.width = width;
    info.height = height;
    if (FAILED(frame_->GetResolution(&info.dpiX, &info.dpiY))) info.dpiX = info.dpiY = 0;
    WICPixelFormatGUID format{};
    Check(frame_->GetPixelFormat(&format), susie::BrokenData);
    info.bitsPerPixel = BitsPerPixel(factory_.Get(), format);
    return info;
}

std::vector<WICColor> WicPicture::Palette() const {
    WICPixelFormatGUID format{};
    Check(frame_->GetPixelFormat(&format), susie::BrokenData);
    if (format != GUID_WICPixelFormat1bppIndexed && format != GUID_WICPixelFormat2bppIndexed &&
        format != GUID_WICPixelFormat4bppIndexed && format != GUID_WICPixelFormat8bppIndexed)
        return {};
    ComPtr<IWICPalette> palette;
    Check(factory_->CreatePalette(&palette), susie::InternalError);
    UINT count = 0;
    if (FAILED(frame_->CopyPalette(palette.Get())) || FAILED(palette->GetColorCount(&count)) || count == 0 ||
        count > 256)
        return {};
    std::vector<WICColor> colors(count);
    if (FAILED(palette->GetColors(count, colors.data(), &count))) return {};
    colors.resize(count);
    return colors;
}

ComPtr<IWICBitmapSource> WicPicture::Bgra() const {
    ComPtr<IWICFormatConverter> converter;
    Check(factory_->CreateFormatConverter(&converter), susie::InternalError);
    Check(converter->Initialize(frame_.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                0.0, WICBitmapPaletteTypeCustom),
          susie::BrokenData);
    return converter;
}

ComPtr<IWICBitmapSource> WicPicture::NativeBgr() const {
    WICPixelFormatGUID format{};
    if (FAILED(frame_->GetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return nullptr;
    return frame_;
}

ComPtr<IWICBitmapSource> WicPicture::ScaledBgra(uint32_t width, uint32_t height) const {
    ComPtr<IWICBitmapScaler> scaler;
    Check(factory_->CreateBitmapScaler(&scaler), susie::InternalError);
    Check(scaler->Initialize(Bgra().Get(), width, height, WICBitmapInterpolationModeFant), susie::BrokenData);
    return scaler;
}

} // namespace spi
