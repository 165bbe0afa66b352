#pragma once
// A decoder's frame seen through ConvertRow: a bitmap source of 32-bit BGRA
// pixels that WriteDib and the platform's scaler read like any other.
#include "plugins/common/RawPixels.h"

#include <wincodec.h>
#include <wrl/client.h>

namespace spi {

// frame delivers pixels in conversion.layout.
Microsoft::WRL::ComPtr<IWICBitmapSource> RawBgra(Microsoft::WRL::ComPtr<IWICBitmapSource> frame,
                                                 const RawConversion& conversion);

} // namespace spi
