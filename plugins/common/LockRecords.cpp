// Compiled into each plug-in itself, as its TLS callback must be.
// The runtime linked into a plug-in sets up critical sections that it never
// deletes (the thread library's locks, at the first C++ exception), and the
// system keeps a record of each outside the plug-in, which would outlive it.
// The plug-in's own import of InitializeCriticalSection therefore makes them
// without that record.
#include "plugins/common/ImportRedirect.h"

namespace {
void WINAPI InitializeWithoutRecord(LPCRITICAL_SECTION section) {
    InitializeCriticalSectionEx(section, 0, CRITICAL_SECTION_NO_DEBUG_INFO);
}

void WINAPI OnTlsEvent(PVOID module, DWORD reason, PVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        spi::RedirectKernelImport(static_cast<HMODULE>(module), "InitializeCriticalSection",
                                  reinterpret_cast<void*>(&InitializeWithoutRecord));
}
} // namespace

// Placed before the runtime's callbacks in the module's TLS callback list.
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK spiLocksWithoutRecords =
    &OnTlsEvent;
