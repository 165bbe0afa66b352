#include "plugins/common/TlsRecorder.h"

#include "plugins/common/ImportRedirect.h"

#include <algorithm>
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

void RecordTlsIndexes(HMODULE self) {
    realTlsAlloc = reinterpret_cast<TlsAllocProc>(
        RedirectKernelImport(self, "TlsAlloc", reinterpret_cast<void*>(&RecordingTlsAlloc)));
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
