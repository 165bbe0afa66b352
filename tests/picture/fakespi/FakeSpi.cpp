// A scriptable image plug-in for the tests (see FakeSpiScript.h).
#include "FakeSpiScript.h"
#include "plugins/SusieApi.h"

#include <malloc.h>

#include <cstring>
#include <stdexcept>

namespace {
HANDLE mapping = nullptr;
fakespi::Script* script = nullptr;

int Slot(LONG_PTR offset) {
    return offset == 0 ? 0 : offset == 128 ? 1 : -1;
}

// Faults the way a broken decoder does. Every value goes through volatile
// objects, so that the compiler can neither drop the access nor fold the
// division into something that cannot fault.
void Misbehave(int32_t misdeed) {
    volatile int one = 1, zero = 0;
    volatile int* volatile nowhere = nullptr;
    switch (misdeed) {
    case fakespi::kAccessViolation:
        *nowhere = 1;
        break;
    case fakespi::kIllegalInstruction:
        __builtin_trap();
    case fakespi::kDivideByZero:
        *nowhere = one / zero;
        break;
    case fakespi::kStackOverflow:
        for (;;) {
            auto* page = static_cast<volatile char*>(alloca(4096));
            page[0] = 1;
        }
    case fakespi::kCaughtCppException:
        try {
            throw std::runtime_error("handled inside");
        } catch (const std::runtime_error&) {
        }
        break;
    default:
        break;
    }
}

int32_t Record(fakespi::Entry entry, LPCSTR path, LONG_PTR offset) {
    if (!script) return 8;
    if (script->CallCount < 16) {
        fakespi::Call& call = script->Calls[script->CallCount];
        call.Entry = entry;
        call.Offset = static_cast<int32_t>(offset);
        strncpy(call.Path, path, sizeof(call.Path) - 1);
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        call.PathOpens = file != INVALID_HANDLE_VALUE;
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    ++script->CallCount;
    Misbehave(script->Misdeeds[entry]);
    int slot = Slot(offset);
    return slot < 0 ? -1 : script->Results[entry][slot];
}

HLOCAL Block(size_t size) {
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
    if (script->BlockCount < 64) script->Blocks[script->BlockCount++] = reinterpret_cast<uintptr_t>(block);
    return block;
}

void MakeDib(int width, int height, int offset, HLOCAL* info, HLOCAL* pixels) {
    const fakespi::Script& s = *script;
    bool indexed = s.BitCount <= 8;
    int table = indexed ? fakespi::TableSize(s) : 0;
    *info = Block(sizeof(BITMAPINFOHEADER) + table * sizeof(RGBQUAD));
    auto* header = static_cast<BITMAPINFOHEADER*>(LocalLock(*info));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(s.BitCount);
    header->biCompression = BI_RGB;
    header->biClrUsed = indexed ? s.ClrUsed : 0;
    auto* colors = reinterpret_cast<RGBQUAD*>(header + 1);
    for (int i = 0; i < table; ++i)
        colors[i] = fakespi::TableColor(i);
    LocalUnlock(*info);

    size_t stride = (static_cast<size_t>(width) * s.BitCount + 31) / 32 * 4;
    size_t size = stride * height;
    *pixels = Block(s.ShortPixels ? size - 1 : size);
    if (s.ShortPixels) return;
    auto* bits = static_cast<BYTE*>(LocalLock(*pixels));
    for (int row = 0; row < height; ++row) {
        int y = height - 1 - row; // bottom-up rows
        BYTE* line = bits + row * stride;
        for (int x = 0; x < width; ++x) {
            if (indexed) {
                int index = fakespi::PixelIndex(x, y, offset, table);
                int bit = x * s.BitCount;
                line[bit / 8] |= static_cast<BYTE>(index << (8 - s.BitCount - bit % 8));
            } else {
                COLORREF c = fakespi::DirectColor(x, y, offset);
                BYTE* p = line + x * (s.BitCount / 8);
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
        }
    }
    LocalUnlock(*pixels);
}

int32_t Decode(fakespi::Entry entry, LPCSTR path, LONG_PTR offset, HLOCAL* info, HLOCAL* pixels) {
    int32_t result = Record(entry, path, offset);
    if (!script || (result != 0 && !script->BlocksOnFailure)) return result;
    bool preview = entry == fakespi::kPreview;
    MakeDib(preview ? script->PreviewWidth : script->Width, preview ? script->PreviewHeight : script->Height,
            static_cast<int>(offset), info, pixels);
    return result;
}
} // namespace

extern "C" {

#ifndef FAKESPI_PICTURE_ONLY
__declspec(dllexport) int32_t
    __stdcall GetPictureInfo(LPCSTR path, LONG_PTR offset, uint32_t, susie::PictureInfo* info) {
    int32_t result = Record(fakespi::kInfo, path, offset);
    if (!script) return result;
    if (result == 0) {
        info->left = info->top = 0;
        info->width = script->Width;
        info->height = script->Height;
        info->x_density = script->XDensity;
        info->y_density = script->YDensity;
        info->colorDepth = static_cast<int16_t>(script->BitCount);
    }
    if ((result == 0 && script->TextInfo) || (result != 0 && script->BlocksOnFailure))
        info->hInfo = Block(32);
    return result;
}

__declspec(dllexport) int32_t __stdcall GetPreview(LPCSTR path, LONG_PTR offset, uint32_t, HLOCAL* info,
                                                   HLOCAL* pixels, void*, LONG_PTR) {
    return Decode(fakespi::kPreview, path, offset, info, pixels);
}
#endif

__declspec(dllexport) int32_t __stdcall GetPicture(LPCSTR path, LONG_PTR offset, uint32_t, HLOCAL* info,
                                                   HLOCAL* pixels, void*, LONG_PTR) {
    return Decode(fakespi::kPicture, path, offset, info, pixels);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, fakespi::MappingName().c_str());
        if (mapping)
            script = static_cast<fakespi::Script*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (script) {
            ++script->Attached;
            GetModuleFileNameA(instance, script->Module, sizeof(script->Module));
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        if (script) {
            ++script->Detached;
            UnmapViewOfFile(script);
        }
        if (mapping) CloseHandle(mapping);
    }
    return TRUE;
}
}
