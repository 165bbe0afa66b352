#pragma once
// Points a plug-in's own import of a kernel32 function at a replacement, so
// that the runtime libraries linked into it call the replacement. Made from a
// TLS callback at DLL_PROCESS_ATTACH, before the runtime's initialisation.
#include <windows.h>

namespace spi {

// The previous target of the import, or null when the module does not
// import the function from kernel32 by name (then nothing changes).
void* RedirectKernelImport(HMODULE self, const char* name, void* replacement);

} // namespace spi
