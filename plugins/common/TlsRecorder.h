#pragma once
// The thread library linked into each plug-in takes a TLS index the first
// time it is used and never gives it back. Hosts load a plug-in for every
// picture, and a process has 1,088 indexes: after about a thousand pictures
// the library's next TlsAlloc fails and it ends the process. The plug-in's
// own import of TlsAlloc is therefore redirected to record what it takes, and
// what was recorded is freed when the plug-in is unloaded.
#include <windows.h>

namespace spi {

// The redirection is made by a TLS callback, which runs before the runtime's
// own initialisation (the first TlsAlloc is made there).
// At DLL_PROCESS_DETACH by FreeLibrary, after the libraries' own clean-up.
void FreeRecordedTlsIndexes();

} // namespace spi
