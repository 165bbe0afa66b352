#pragma once
// A short-lived worker that waits out the double-click interval, so that a
// single click on a tray icon can be told from the first half of a double
// click. It touches nothing shared: when the wait is over it posts one message
// to the window it was given, and the GUI thread takes it from there.
#include <windows.h>

#include <stop_token>
#include <thread>

class TSingleClick {
  public:
    // Starts at once; (message, wParam, lParam) reaches target after
    // GetDoubleClickTime() + 50 ms.
    TSingleClick(HWND target, UINT message, WPARAM wParam, LPARAM lParam);
    // Cancels a wait that is still running and joins the thread.
    ~TSingleClick() = default;
    TSingleClick(const TSingleClick&) = delete;
    TSingleClick& operator=(const TSingleClick&) = delete;

  private:
    static void Execute(std::stop_token stop, HWND target, UINT message, WPARAM wParam, LPARAM lParam);

    std::jthread thread_;
};
