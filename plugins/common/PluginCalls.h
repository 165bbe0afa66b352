#pragma once
// The work behind the five exports, for the format a plug-in describes.
// The Read functions throw Failure; the exports turn it into result codes.
#include "plugins/SusieApi.h"
#include "plugins/common/SpiFormat.h"

namespace spi {

// Copies text number infoNo into buffer (at most length bytes, always
// terminated); returns the bytes copied without the terminator, 0 when
// there is no such text.
int32_t CopyPluginInfo(const SpiFormat& format, int32_t infoNo, LPSTR buffer, int32_t length);

bool IsSupportedHead(const SpiFormat& format, void* data);

// The reduced picture GetPreview returns: a quarter of each side, rounded up.
uint32_t PreviewSide(uint32_t side);

susie::PictureInfo ReadPictureInfo(const SpiFormat& format, LPCSTR path, LONG_PTR offset, uint32_t flag);

struct PictureRequest {
    LPCSTR path;
    LONG_PTR offset;
    uint32_t flag;
    susie::ProgressCallback progress;
    LONG_PTR progressData;
    bool preview;
};

// Decodes into the two blocks; on failure both handles stay null.
void ReadPicture(const SpiFormat& format, const PictureRequest& request, HLOCAL* bitmapInfo, HLOCAL* pixels);

} // namespace spi
