// GIF plug-in: the one table that differs between our plug-ins.
#include "plugins/common/GifColourTable.h"
#include "plugins/common/Signatures.h"
#include "plugins/common/SpiFormat.h"

#include <wincodec.h>

namespace spi {
namespace {
constexpr FileType kFileTypes[] = {{"*.gif", "GIF"}};
const SpiFormat kFormat{"Tapestra32 GIF plug-in 1.00 (WIC)",
                        kFileTypes,
                        &IsGif,
                        &GUID_ContainerFormatGif,
                        nullptr,
                        &GifDeclaredSize,
                        &PrepareGif,
                        nullptr};
} // namespace

const SpiFormat& ThisPlugin() {
    return kFormat;
}

} // namespace spi
