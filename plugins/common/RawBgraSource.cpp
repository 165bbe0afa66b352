#include "plugins/common/RawBgraSource.h"

#include <new>
#include <vector>

namespace spi {
namespace {
using Microsoft::WRL::ComPtr;

// A COM object: it lives as long as someone holds a reference and deletes
// itself at the last Release, as COM objects do. Its methods answer with
// result codes and never throw.
class RawBgraSource final : public IWICBitmapSource {
  public:
    RawBgraSource(ComPtr<IWICBitmapSource> frame, const RawConversion& conversion)
        : frame_(std::move(frame)), conversion_(conversion) {}
    RawBgraSource(const RawBgraSource&) = delete;
    RawBgraSource& operator=(const RawBgraSource&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IWICBitmapSource) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IWICBitmapSource*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override {
        return frame_->GetSize(width, height);
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
        if (!format) return E_INVALIDARG;
        *format = GUID_WICPixelFormat32bppBGRA;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetResolution(double* dpiX, double* dpiY) override {
        return frame_->GetResolution(dpiX, dpiY);
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT size, BYTE* buffer) override;

  private:
    ComPtr<IWICBitmapSource> frame_;
    RawConversion conversion_;
    LONG references_ = 1;
};

HRESULT RawBgraSource::CopyPixels(const WICRect* rect, UINT stride, UINT size, BYTE* buffer) {
    UINT width = 0, height = 0;
    if (HRESULT hr = frame_->GetSize(&width, &height); FAILED(hr)) return hr;
    const WICRect whole{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    const WICRect area = rect ? *rect : whole;
    if (!buffer || area.X < 0 || area.Y < 0 || area.Width < 0 || area.Height < 0 ||
        static_cast<UINT>(area.X) + area.Width > width || static_cast<UINT>(area.Y) + area.Height > height)
        return E_INVALIDARG;
    if (area.Width == 0 || area.Height == 0) return S_OK;
    const uint64_t rowBytes = static_cast<uint64_t>(area.Width) * 4;
    if (stride < rowBytes || size < static_cast<uint64_t>(stride) * (area.Height - 1) + rowBytes)
        return E_INVALIDARG;
    const UINT rawStride = static_cast<UINT>(area.Width) * BytesPerPixel(conversion_.layout);
    std::vector<uint8_t> raw;
    try {
        raw.resize(rawStride);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (INT y = 0; y < area.Height; ++y) {
        const WICRect row{area.X, area.Y + y, area.Width, 1};
        if (HRESULT hr = frame_->CopyPixels(&row, rawStride, rawStride, raw.data()); FAILED(hr)) return hr;
        ConvertRow(conversion_, raw.data(), static_cast<uint32_t>(area.Width),
                   buffer + static_cast<size_t>(stride) * y);
    }
    return S_OK;
}
} // namespace

ComPtr<IWICBitmapSource> RawBgra(ComPtr<IWICBitmapSource> frame, const RawConversion& conversion) {
    ComPtr<IWICBitmapSource> source;
    source.Attach(new RawBgraSource(std::move(frame), conversion));
    return source;
}

} // namespace spi
