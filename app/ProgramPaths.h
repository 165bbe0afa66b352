#pragma once
// Files that lie beside the program and bear its name.
#include "base/ExtensionOf.h"

#include <windows.h>

#include <string>

// The program's own path with its extension replaced (".BMP", ".hlp").
inline std::wstring ProgramPathWithExtension(const std::wstring& extension) {
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring file(path, n);
    file.erase(file.size() - ExtensionOf(file).size());
    return file + extension;
}
