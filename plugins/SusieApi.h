#pragma once
// The image plug-in calling interface: exports looked up by name, stdcall,
// 32-bit signed result codes (0 is success), a byte-packed picture
// information record and two movable memory blocks for the decoded picture.
#include <windows.h>

#include <cstdint>

namespace susie {

enum Result : int32_t {
    Success = 0,
    NotImplemented = -1,
    Cancelled = 1,
    UnknownFormat = 2,
    BrokenData = 3,
    NoMemory = 4,
    MemoryError = 5,
    FileReadError = 6,
    Reserved = 7,
    InternalError = 8,
};

#pragma pack(push, 1)
// Filled by GetPictureInfo. 26 bytes in the 32-bit interface (the handle
// field takes the width of a handle in a 64-bit build).
struct PictureInfo {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    uint16_t x_density;
    uint16_t y_density;
    int16_t colorDepth;
    HLOCAL hInfo; // text information, owned by the caller
};
#pragma pack(pop)
static_assert(sizeof(void*) != 4 || sizeof(PictureInfo) == 26, "the 32-bit record is 26 bytes");

// Progress callback: returning non-zero asks the plug-in to stop.
using ProgressCallback = int(__stdcall*)(int done, int total, LONG_PTR data);

// Flag values for the source argument: 0 means the first argument is a file path.
constexpr uint32_t kSourceFile = 0;
constexpr uint32_t kSourceMemory = 1;

using GetPluginInfoProc = int32_t(__stdcall*)(int32_t infoNo, LPSTR buffer, int32_t bufferLength);
using IsSupportedProc = int32_t(__stdcall*)(LPCSTR fileName, void* data);
using GetPictureInfoProc = int32_t(__stdcall*)(LPCSTR path, LONG_PTR offset, uint32_t flag, PictureInfo* info);
using GetPictureProc = int32_t(__stdcall*)(LPCSTR path, LONG_PTR offset, uint32_t flag, HLOCAL* bitmapInfo,
                                           HLOCAL* pixels, ProgressCallback progress, LONG_PTR data);

} // namespace susie
