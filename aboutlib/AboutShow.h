#pragma once
// The one export of OrvelCtl.dll, included by the library and by its callers.
// Exported by the undecorated name "AboutShow" (OrvelCtl.def) with the Windows
// calling convention, so any host can bind it. The three texts are
// zero-terminated Shift-JIS (code page 932); a null pointer reads as an empty
// text, a null picture as none. The dialog shows a copy of the picture: the
// caller keeps its icon. Returns 0 once the modal dialog has closed.
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int __stdcall AboutShow(const char* title, const char* version, const char* edition, HICON picture);

#ifdef __cplusplus
}
#endif
