#include "framework/TSubclass.h"

#include "framework/TApplication.h"

#include <commctrl.h>

bool TSubclass::Attach(HWND window, Handler handler) {
    Detach();
    if (!window) return false;
    handler_ = std::move(handler);
    // The object's address tells this hook from every other on the window.
    if (!SetWindowSubclass(window, Proc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = window;
    return true;
}

void TSubclass::Detach() {
    if (!window_) return;
    RemoveWindowSubclass(window_, Proc, reinterpret_cast<UINT_PTR>(this));
    window_ = nullptr;
}

LRESULT TSubclass::Next(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return DefSubclassProc(window_, msg, wParam, lParam);
}

LRESULT CALLBACK TSubclass::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data) {
    auto* self = reinterpret_cast<TSubclass*>(data);
    if (msg == WM_NCDESTROY) {
        // The window goes before its hooks: unhooked now, not at Detach.
        RemoveWindowSubclass(wnd, Proc, id);
        self->window_ = nullptr;
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    try {
        return self->handler_(msg, wParam, lParam);
    } catch (...) {
        if (Application) Application->HandleException(std::current_exception());
        return 0;
    }
}
