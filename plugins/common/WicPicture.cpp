#include "plugins/common/WicPicture.h"

#include "plugins/common/DeclaredSize.h"
#include "plugins/common/Failure.h"
#include "plugins/common/RawBgraSource.h"

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

WicPicture::WicPicture(std::span<const uint8_t> bytes, const GUID& container,
                       const PixelCorrections& corrections)
    : corrections_(corrections) {
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
// Some systems' TIFF decoders hand the 16-bit samples of a big-endian file
// over in the file's byte order instead of the machine's. Decoding one grey
// pixel of 0x0102, stored big-endian, tells which kind this one is.
bool TiffDecoderKeepsFileOrder(IWICImagingFactory* factory) {
    // clang-format off
    static const uint8_t kProbe[] = {
        'M', 'M', 0, 42, 0, 0, 0, 8,           // header: the directory at 8
        0, 8,                                  // its entries: tag, type, count, value
        1, 0x00, 0, 3, 0, 0, 0, 1, 0, 1, 0, 0,   // width 1
        1, 0x01, 0, 3, 0, 0, 0, 1, 0, 1, 0, 0,   // height 1
        1, 0x02, 0, 3, 0, 0, 0, 1, 0, 16, 0, 0,  // 16 bits per sample
        1, 0x03, 0, 3, 0, 0, 0, 1, 0, 1, 0, 0,   // not compressed
        1, 0x06, 0, 3, 0, 0, 0, 1, 0, 1, 0, 0,   // black is zero
        1, 0x11, 0, 4, 0, 0, 0, 1, 0, 0, 0, 110, // the strip at 110
        1, 0x16, 0, 3, 0, 0, 0, 1, 0, 1, 0, 0,   // one row per strip
        1, 0x17, 0, 4, 0, 0, 0, 1, 0, 0, 0, 2,   // of 2 bytes
        0, 0, 0, 0,                            // no further directory
        1, 2,                                  // the pixel
    };
    // clang-format on
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    uint16_t pixel = 0;
    const WICRect all{0, 0, 1, 1};
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(kProbe), sizeof(kProbe))) ||
        FAILED(factory->CreateDecoder(GUID_ContainerFormatTiff, nullptr, &decoder)) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(frame->CopyPixels(&all, sizeof(pixel), sizeof(pixel), reinterpret_cast<BYTE*>(&pixel))))
        return false;
    return pixel == 0x0201;
}

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

std::optional<RawConversion> WicPicture::OwnConversion() const {
    WICPixelFormatGUID format{};
    Check(frame_->GetPixelFormat(&format), susie::BrokenData);
    const std::optional<RawLayout> layout = RawLayoutOf(format);
    if (!layout) return std::nullopt;
    RawConversion conversion{*layout};
    conversion.invertColours = corrections_.invertedColours;
    conversion.swapSamples =
        corrections_.bigEndianFile && HasWideSamples(*layout) && TiffDecoderKeepsFileOrder(factory_.Get());
    if (!NeedsOwnConversion(conversion)) return std::nullopt;
    return conversion;
}

ComPtr<IWICBitmapSource> WicPicture::Bgra() const {
    if (const std::optional<RawConversion> own = OwnConversion()) return RawBgra(frame_, *own);
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
