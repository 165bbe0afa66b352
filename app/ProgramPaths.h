#pragma once
// Files that lie beside the program and bear its name.
#include <windows.h>

#include <string>

// The program's own path with its extension replaced (".BMP", ".hlp").
inline std::wstring ProgramPathWithExtension(const std::wstring& extension) {
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring file(path, n);
    size_t dot = file.find_last_of(L'.');
    size_t slash = file.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) file.erase(dot);
    return file + extension;
}
