#pragma once
// The one hidden window of the process that receives the shell's
// notifications for every tray icon and hands each to its icon.
//
// It is a top-level window, not a child of a form: the shell announces a new
// task bar ("TaskbarCreated") by broadcast, and broadcasts reach top-level
// windows only. The tray icons create it with the first icon and destroy it
// with the last one.
#include "framework/TWinControl.h"

class TCallbackWindow : public TWinControl {
  public:
    // Sent by a single-click worker when its wait is over: wParam the icon's
    // identifier, lParam the worker's number.
    static constexpr UINT SingleClickMessage = WM_APP + 1;

    TCallbackWindow();

    // Tries the refused adds again every few seconds until none is left.
    void RetryAddsLater();

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void TrayMessage(WPARAM wParam, LPARAM lParam);
    void SingleClickDone(WPARAM wParam, LPARAM lParam);
    void TaskbarCreated();
    void RetryAdds();

    UINT taskbarCreated_;
};
