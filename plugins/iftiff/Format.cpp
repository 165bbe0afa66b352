// TIFF plug-in: the one table that differs between our plug-ins.
#include "plugins/common/Signatures.h"
#include "plugins/common/SpiFormat.h"
#include "plugins/common/TiffKind.h"

#include <wincodec.h>

namespace spi {
namespace {
constexpr FileType kFileTypes[] = {{"*.tif;*.tiff", "TIFF"}};
const SpiFormat kFormat{"Tapestra32 TIFF plug-in 1.00 (WIC)",
                        kFileTypes,
                        &IsTiff,
                        &GUID_ContainerFormatTiff,
                        nullptr,
                        &TiffDeclaredSize,
                        &PrepareTiff,
                        &IsUncommonTiff};
} // namespace

const SpiFormat& ThisPlugin() {
    return kFormat;
}

} // namespace spi
