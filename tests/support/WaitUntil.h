#pragma once
// Waiting in tests for a real signal (a window, a registry value, a file, a
// process) instead of for a fixed time.
#include <windows.h>

#include <functional>

// True as soon as done() holds, false when it still does not after timeoutMs.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
    return true;
}
