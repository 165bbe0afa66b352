// The five exports of an image plug-in and our own GetPictureAtSize,
// compiled into each plug-in. They take stdcall arguments from any host, so
// nothing may escape them but a result code.
#include "plugins/common/Failure.h"
#include "plugins/common/PluginCalls.h"
#include "plugins/common/PluginHeap.h"
#include "plugins/common/SizedPicture.h"
#include "plugins/common/TlsRecorder.h"

#include <new>

namespace {
template <typename Body> int32_t Guarded(Body&& body) noexcept {
    try {
        body();
        return susie::Success;
    } catch (const spi::Failure& failure) {
        return failure.code;
    } catch (const std::bad_alloc&) {
        return susie::NoMemory;
    } catch (...) {
        return susie::InternalError;
    }
}

int32_t Picture(LPCSTR path, LONG_PTR offset, uint32_t flag, HLOCAL* bitmapInfo, HLOCAL* pixels,
                susie::ProgressCallback progress, LONG_PTR data, bool preview) {
    if (!bitmapInfo || !pixels) return susie::InternalError;
    *bitmapInfo = nullptr;
    *pixels = nullptr;
    return Guarded([&] {
        spi::ReadPicture(spi::ThisPlugin(), {path, offset, flag, progress, data, preview}, bitmapInfo,
                         pixels);
    });
}
} // namespace

extern "C" {

BOOL WINAPI DllMainCRTStartup(HANDLE module, DWORD reason, LPVOID reserved);

// The plug-in's entry point: the runtime's, and then, once an unload by
// FreeLibrary has run every clean-up of the runtime (the TLS callbacks before
// it, the static destructors in it), the TLS indexes and the heap go. At
// process end they go anyway.
BOOL WINAPI SpiEntry(HANDLE module, DWORD reason, LPVOID reserved) {
    const BOOL result = DllMainCRTStartup(module, reason, reserved);
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        spi::FreeRecordedTlsIndexes();
        spi::DestroyPluginHeap();
    }
    return result;
}

__declspec(dllexport) int32_t __stdcall GetPluginInfo(int32_t infoNo, LPSTR buffer, int32_t bufferLength) {
    return spi::CopyPluginInfo(spi::ThisPlugin(), infoNo, buffer, bufferLength);
}

__declspec(dllexport) int32_t __stdcall IsSupported(LPCSTR, void* data) {
    try {
        return spi::IsSupportedHead(spi::ThisPlugin(), data) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

__declspec(dllexport) int32_t
    __stdcall GetPictureInfo(LPCSTR path, LONG_PTR offset, uint32_t flag, susie::PictureInfo* info) {
    if (!info) return susie::InternalError;
    return Guarded([&] { *info = spi::ReadPictureInfo(spi::ThisPlugin(), path, offset, flag); });
}

__declspec(dllexport) int32_t
    __stdcall GetPicture(LPCSTR path, LONG_PTR offset, uint32_t flag, HLOCAL* bitmapInfo, HLOCAL* pixels,
                         susie::ProgressCallback progress, LONG_PTR data) {
    return Picture(path, offset, flag, bitmapInfo, pixels, progress, data, false);
}

__declspec(dllexport) int32_t
    __stdcall GetPreview(LPCSTR path, LONG_PTR offset, uint32_t flag, HLOCAL* bitmapInfo, HLOCAL* pixels,
                         susie::ProgressCallback progress, LONG_PTR data) {
    return Picture(path, offset, flag, bitmapInfo, pixels, progress, data, true);
}

__declspec(dllexport) int32_t
    __stdcall GetPictureAtSize(LPCSTR path, LONG_PTR offset, uint32_t flag,
                               const susie::SizedRequest* request, susie::SizedResult* result,
                               HLOCAL* bitmapInfo, HLOCAL* pixels, susie::ProgressCallback progress,
                               LONG_PTR data) {
    if (!result || result->size < sizeof(susie::SizedResult) || !bitmapInfo != !pixels)
        return susie::InternalError;
    if (bitmapInfo) *bitmapInfo = *pixels = nullptr;
    return Guarded([&] {
        spi::ReadSizedPicture(spi::ThisPlugin(), {path, offset, flag, request, progress, data}, *result,
                              bitmapInfo, pixels);
    });
}

} // extern "C"
