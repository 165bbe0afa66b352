#pragma once
// A hook on a window whose procedure is not ours (a form another component
// owns, the application window, a system tool tip): every message of the
// window reaches the handler first, which passes on what it does not consume
// with Next. The hook goes when this object goes, or with the window at
// WM_NCDESTROY, whichever comes first. Several hooks on one window do not
// step on each other. Exceptions from the handler are shown by the
// application's handler and the message counts as handled.
#include <windows.h>

#include <functional>

class TSubclass {
  public:
    using Handler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

    TSubclass() = default;
    ~TSubclass() { Detach(); }
    TSubclass(const TSubclass&) = delete;
    TSubclass& operator=(const TSubclass&) = delete;

    // Hooks a window (after unhooking any other); false when it cannot be.
    bool Attach(HWND window, Handler handler);
    void Detach();
    // The hooked window; null once unhooked or destroyed.
    HWND Window() const { return window_; }
    // Hands a message on to the window's own procedure (for the handler).
    LRESULT Next(UINT msg, WPARAM wParam, LPARAM lParam) const;

  private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

    HWND window_ = nullptr;
    Handler handler_;
};
