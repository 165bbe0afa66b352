#include "tray/TSingleClick.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

TSingleClick::TSingleClick(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
    : thread_(Execute, target, message, wParam, lParam) {}

void TSingleClick::Execute(std::stop_token stop, HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    // The extra 50 ms let the shell's double-click notification arrive first.
    const auto wait = std::chrono::milliseconds(GetDoubleClickTime() + 50);
    // A sleep that the owner can cut short: it waits for a stop request only.
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, wait, [] { return false; });
    if (!stop.stop_requested()) PostMessageW(target, message, wParam, lParam);
}
