#pragma once
// Running this thread's messages in tests: for a while, until a condition
// holds, or until the queue is empty.
#include <windows.h>

#include <algorithm>
#include <functional>

// Dispatches messages as they come until time is up.
inline void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

// Dispatches messages until done() holds; false when time ran out first.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout) {
    const ULONGLONG end = GetTickCount64() + timeout;
    while (!done()) {
        ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        PumpFor(static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)));
    }
    return true;
}

// Dispatches what is queued now.
inline void DispatchQueued() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Throws away what is queued now (a closed form leaves WM_QUIT behind).
inline void DiscardQueued() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
