#include "plugins/common/PluginCalls.h"

#include "base/ExifOrientation.h"

#include "plugins/common/DibWriter.h"
#include "plugins/common/Failure.h"
#include "plugins/common/SourceData.h"
#include "plugins/common/WicPicture.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace spi {
namespace {
const char kApiVersion[] = "00IN";

const char* InfoText(const SpiFormat& format, int32_t infoNo) {
    if (infoNo == 0) return kApiVersion;
    if (infoNo == 1) return format.about;
    if (infoNo < 2) return nullptr;
    const size_t entry = static_cast<size_t>(infoNo - 2) / 2;
    if (entry >= format.fileTypes.size()) return nullptr;
    return infoNo % 2 == 0 ? format.fileTypes[entry].patterns : format.fileTypes[entry].name;
}

uint16_t Density(double dpi) {
    if (!std::isfinite(dpi) || dpi < 0.5 || dpi > std::numeric_limits<uint16_t>::max()) return 1;
    return static_cast<uint16_t>(std::lround(dpi));
}

// The picture's first frame as the DIB of the request: a reduced preview,
// or the whole frame with its own colour table when it has one.
Dib Decode(const WicPicture& picture, const PictureRequest& request) {
    const FrameInfo frame = picture.Info();
    DibSource dib{nullptr, nullptr, frame.width, frame.height, {}, frame.dpiX, frame.dpiY};
    ComPtr<IWICBitmapSource> pixelsSource, nativeBgr;
    std::vector<WICColor> palette;
    if (request.preview) {
        dib.width = PreviewSide(frame.width);
        dib.height = PreviewSide(frame.height);
        pixelsSource = picture.ScaledBgra(dib.width, dib.height);
    } else {
        // Palette pictures keep their colour table, so an 8-bit display can
        // show them with their own palette.
        palette = picture.Palette();
        dib.palette = palette;
        if (palette.empty()) nativeBgr = picture.NativeBgr();
        if (!nativeBgr) pixelsSource = picture.Bgra();
    }
    dib.bgra = pixelsSource.Get();
    dib.bgr = nativeBgr.Get();
    return WriteDib(dib, Progress(request.progress, request.progressData));
}

} // namespace

OwnSource OpenOwnFormat(const SpiFormat& format, LPCSTR path, LONG_PTR offset, uint32_t flag,
                        bool (*withinLimits)(uint64_t width, uint64_t height)) {
    OwnSource source{SourceData::Open(path, offset, flag), {}};
    if (!format.matches(source.data.bytes())) Fail(susie::UnknownFormat);
    source.orientation = PictureOrientation(MemoryReader(source.data.bytes()));
    DeclaredSize size;
    if (format.declaredSize && format.declaredSize(source.data.bytes(), size) &&
        !withinLimits(size.width, size.height))
        Fail(susie::NoMemory);
    if (format.prepare) {
        Prepared prepared = format.prepare(source.data.bytes());
        if (!prepared.bytes.empty()) source.data.Replace(std::move(prepared.bytes));
        source.corrections = prepared.corrections;
    }
    return source;
}

int32_t CopyPluginInfo(const SpiFormat& format, int32_t infoNo, LPSTR buffer, int32_t length) {
    const char* text = InfoText(format, infoNo);
    if (!text || !buffer || length <= 0) return 0;
    const size_t count = std::min(std::strlen(text), static_cast<size_t>(length - 1));
    std::memcpy(buffer, text, count);
    buffer[count] = '\0';
    return static_cast<int32_t>(count);
}

bool IsSupportedHead(const SpiFormat& format, void* data) {
    return format.matches(ReadHead(data));
}

uint32_t PreviewSide(uint32_t side) {
    return std::max<uint32_t>(1, side / 4 + (side % 4 != 0 ? 1 : 0));
}

susie::PictureInfo ReadPictureInfo(const SpiFormat& format, LPCSTR path, LONG_PTR offset, uint32_t flag) {
    const OwnSource source = OpenOwnFormat(format, path, offset, flag, WithinLimits);
    const std::span<const uint8_t> bytes = source.data.bytes();
    FrameInfo frame;
    if (!format.headerInfo || !format.headerInfo(bytes, frame)) {
        frame = UnsupportedWhenUncommon(format, bytes, [&] {
            ComScope com;
            return WicPicture(bytes, *format.container).Info();
        });
    }
    susie::PictureInfo info{};
    info.width = static_cast<int32_t>(frame.width);
    info.height = static_cast<int32_t>(frame.height);
    info.x_density = Density(frame.dpiX);
    info.y_density = Density(frame.dpiY);
    info.colorDepth = static_cast<int16_t>(std::min<uint32_t>(frame.bitsPerPixel, 0x7FFF));
    info.hInfo = nullptr;
    return info;
}

void ReadPicture(const SpiFormat& format, const PictureRequest& request, HLOCAL* bitmapInfo, HLOCAL* pixels) {
    const OwnSource source = OpenOwnFormat(format, request.path, request.offset, request.flag, WithinLimits);
    const std::span<const uint8_t> bytes = source.data.bytes();
    Dib result = UnsupportedWhenUncommon(format, bytes, [&] {
        ComScope com;
        const WicPicture picture(bytes, *format.container, source.corrections);
        return Decode(picture, request);
    });
    *bitmapInfo = result.info.release();
    *pixels = result.bits.release();
}

} // namespace spi
