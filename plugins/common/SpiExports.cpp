// The five exports of an image plug-in, compiled into each plug-in. They
// take stdcall arguments from any host, so nothing may escape them but a
// result code.
#include "plugins/common/Failure.h"
#include "plugins/common/PluginCalls.h"
#include "plugins/common/TlsRecorder.h"

#include <new>

// The C++ runtime linked into each plug-in keeps an emergency pool for
// exceptions that only this frees; hosts load a plug-in for every picture.
namespace __gnu_cxx {
void __freeres() throw();
} // namespace __gnu_cxx

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

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnding) {
    // Unloaded by FreeLibrary: give the runtime's pool and TLS indexes back.
    // At process end they go anyway.
    if (reason == DLL_PROCESS_DETACH && !processEnding) {
        __gnu_cxx::__freeres();
        spi::FreeRecordedTlsIndexes();
    }
    return TRUE;
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

} // extern "C"
