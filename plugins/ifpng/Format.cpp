// PNG plug-in: the one table that differs between our plug-ins.
#include "plugins/common/Signatures.h"
#include "plugins/common/SpiFormat.h"

#include <wincodec.h>

namespace spi {
namespace {
constexpr FileType kFileTypes[] = {{"*.png", "PNG"}};
const SpiFormat kFormat{"Tapestra32 PNG plug-in 1.00 (WIC)",
                        kFileTypes,
                        &IsPng,
                        &GUID_ContainerFormatPng,
                        nullptr,
                        &PngDeclaredSize,
                        nullptr,
                        nullptr};
} // namespace

const SpiFormat& ThisPlugin() {
    return kFormat;
}

} // namespace spi
