#include "plugins/common/TlsRecorder.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace spi {
namespace {
using TlsAllocProc = DWORD(WINAPI*)();

TlsAllocProc realTlsAlloc = nullptr;
DWORD recorded[16];
LONG recordedCount = 0;

DWORD WINAPI RecordingTlsAlloc() {
    const DWORD index = realTlsAlloc();
    if (index != TLS_OUT_OF_INDEXES) {
        const LONG slot = InterlockedIncrement(&recordedCount) - 1;
        if (slot < static_cast<LONG>(std::size(recorded))) recorded[slot] = index;
    }
    return index;
}

// The import address table entry of kernel32's TlsAlloc in this module.
ULONG_PTR* TlsAllocSlot(HMODULE self) {
    auto* base = reinterpret_cast<BYTE*>(self);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return nullptr;
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name; ++module) {
        if (_stricmp(reinterpret_cast<const char*>(base + module->Name), "kernel32.dll") != 0 ||
            module->OriginalFirstThunk == 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "TlsAlloc") == 0)
                return reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
        }
    }
    return nullptr;
}
void RecordTlsIndexes(HMODULE self) {
    ULONG_PTR* slot = TlsAllocSlot(self);
    if (!slot) return;
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old)) return;
    realTlsAlloc = reinterpret_cast<TlsAllocProc>(*slot);
    *slot = reinterpret_cast<ULONG_PTR>(&RecordingTlsAlloc);
    VirtualProtect(slot, sizeof(*slot), old, &old);
}

void WINAPI OnTlsEvent(PVOID module, DWORD reason, PVOID) {
    if (reason == DLL_PROCESS_ATTACH) RecordTlsIndexes(static_cast<HMODULE>(module));
}
} // namespace

// Placed before the runtime's callbacks in the module's TLS callback list.
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK spiRecordTlsIndexes =
    &OnTlsEvent;

void FreeRecordedTlsIndexes() {
    const LONG count = std::min<LONG>(recordedCount, static_cast<LONG>(std::size(recorded)));
    for (LONG i = 0; i < count; ++i)
        TlsFree(recorded[i]);
    recordedCount = 0;
}

} // namespace spi
