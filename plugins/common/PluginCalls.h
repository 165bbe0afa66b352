#pragma once
// The work behind the five exports, for the format a plug-in describes.
// The Read functions throw Failure; the exports turn it into result codes.
#include "plugins/SusieApi.h"
#include "plugins/common/Failure.h"
#include "plugins/common/SourceData.h"
#include "plugins/common/SpiFormat.h"

#include <cstdint>
#include <span>

namespace spi {

// The bytes of a picture of this plug-in's format, made ready for its
// decoder, and what to correct in the pixels the decoder delivers.
struct OwnSource {
    SourceData data;
    PixelCorrections corrections;
    // From the file's own tag (1 when it has none), read before the bytes
    // are made ready.
    int orientation = 1;
};

// Opens the source and makes sure it is this plug-in's format, of a size the
// call takes, before a decoder sees it.
OwnSource OpenOwnFormat(const SpiFormat& format, LPCSTR path, LONG_PTR offset, uint32_t flag,
                        bool (*withinLimits)(uint64_t width, uint64_t height));

// Runs a decode; a decoder that fails on a kind it need not read reports an
// unsupported format, not broken data.
template <typename Decode>
auto UnsupportedWhenUncommon(const SpiFormat& format, std::span<const uint8_t> bytes, Decode decode) {
    try {
        return decode();
    } catch (const Failure& failure) {
        if (failure.code == susie::BrokenData && format.uncommonKind && format.uncommonKind(bytes))
            Fail(susie::UnknownFormat);
        throw;
    }
}

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
