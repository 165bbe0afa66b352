#pragma once
// The first frame of a picture as the Windows Imaging Component decodes it,
// read from bytes in memory with the decoder of one container format.
#include "plugins/SusieApi.h"
#include "plugins/common/FrameInfo.h"
#include "plugins/common/RawPixels.h"
#include "plugins/common/SpiFormat.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace spi {

using Microsoft::WRL::ComPtr;

// COM for the length of one plug-in call. The host may or may not have
// initialised COM on its thread; only a successful initialisation here is
// balanced (an apartment of another kind already set up is used as it is).
class ComScope {
  public:
    ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope();

  private:
    bool initialised_;
};

class WicPicture {
  public:
    // Throws Failure: BrokenData when the decoder rejects the bytes.
    // The bytes must stay valid as long as the object lives.
    WicPicture(std::span<const uint8_t> bytes, const GUID& container,
               const PixelCorrections& corrections = {});

    FrameInfo Info() const;
    // The colour table of a frame stored as palette indices; empty otherwise.
    std::vector<WICColor> Palette() const;
    // The frame in 32-bit BGRA with unassociated alpha, the one conversion
    // WIC performs for every source (to 24-bit BGR several decoders fail
    // under Wine); converted here instead where WIC gets it wrong.
    ComPtr<IWICBitmapSource> Bgra() const;
    ComPtr<IWICBitmapSource> ScaledBgra(uint32_t width, uint32_t height) const;
    // The frame itself when the decoder already delivers 24-bit BGR, so its
    // rows can be copied as they are; null otherwise.
    ComPtr<IWICBitmapSource> NativeBgr() const;
    // The decoder's own objects, for readers that need more of them.
    IWICImagingFactory* Factory() const { return factory_.Get(); }
    IWICBitmapFrameDecode* Frame() const { return frame_.Get(); }

  private:
    // How to convert the frame here, when WIC's conversion would be wrong.
    std::optional<RawConversion> OwnConversion() const;

    PixelCorrections corrections_;
    ComPtr<IWICImagingFactory> factory_;
    ComPtr<IWICStream> stream_;
    ComPtr<IWICBitmapDecoder> decoder_;
    ComPtr<IWICBitmapFrameDecode> frame_;
};

// Throws Failure unless hr succeeded: NoMemory for an allocation failure,
// UnknownFormat for a variant WIC has no decoder for, else `otherwise`.
void Check(HRESULT hr, susie::Result otherwise);

} // namespace spi
