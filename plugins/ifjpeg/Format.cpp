// JPEG plug-in: the one table that differs between our plug-ins.
#include "plugins/common/JpegHeader.h"
#include "plugins/common/Signatures.h"
#include "plugins/common/SpiFormat.h"

#include <wincodec.h>

namespace spi {
namespace {
constexpr FileType kFileTypes[] = {{"*.jpg;*.jpe;*.jpeg;*.jfif", "JPEG"}};
const SpiFormat kFormat{"Tapestra32 JPEG plug-in 1.00 (WIC)",
                        kFileTypes,
                        &IsJpeg,
                        &GUID_ContainerFormatJpeg,
                        &ReadJpegHeader,
                        &JpegDeclaredSize,
                        nullptr,
                        nullptr};
} // namespace

const SpiFormat& ThisPlugin() {
    return kFormat;
}

} // namespace spi
