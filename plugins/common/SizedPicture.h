#pragma once
// The work behind GetPictureAtSize (plugins/SizedPictureApi.h) for the format
// a plug-in describes. Throws Failure; the export turns it into its result.
#include "plugins/SizedPictureApi.h"
#include "plugins/common/SpiFormat.h"

namespace spi {

struct SizedCall {
    LPCSTR path;
    LONG_PTR offset;
    uint32_t flag;
    const susie::SizedRequest* request;
    susie::ProgressCallback progress;
    LONG_PTR progressData;
};

// Fills `result`; with both handle pointers given, also decodes into the two
// blocks (which stay null on failure).
void ReadSizedPicture(const SpiFormat& format, const SizedCall& call, susie::SizedResult& result,
                      HLOCAL* bitmapInfo, HLOCAL* pixels);

} // namespace spi
