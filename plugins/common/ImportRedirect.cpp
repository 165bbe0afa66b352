#include "plugins/common/ImportRedirect.h"

#include <cstring>

namespace spi {
namespace {
// The import address table entry of a kernel32 function in this module.
ULONG_PTR* KernelImportSlot(HMODULE self, const char* name) {
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
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0)
                return reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
        }
    }
    return nullptr;
}
} // namespace

void* RedirectKernelImport(HMODULE self, const char* name, void* replacement) {
    ULONG_PTR* slot = KernelImportSlot(self, name);
    if (!slot) return nullptr;
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old)) return nullptr;
    void* previous = reinterpret_cast<void*>(*slot);
    *slot = reinterpret_cast<ULONG_PTR>(replacement);
    VirtualProtect(slot, sizeof(*slot), old, &old);
    return previous;
}

} // namespace spi
