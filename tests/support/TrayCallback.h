#pragma once
// The program's tray callback window, found from outside its process, and the
// callback message the shell sends it.
#include <windows.h>

constexpr UINT kTrayMessage = WM_USER + 200;

inline HWND CallbackWindow(DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TapestraTrayCallback", nullptr); w;
         w = FindWindowExW(nullptr, w, L"TapestraTrayCallback", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}
