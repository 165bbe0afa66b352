#pragma once
// Minimizing and restoring the main form play the system sounds and animate
// between the form's rectangle and its taskbar button: the minimize and
// restore commands of the form's window and of the application's window
// (which owns the taskbar button) are taken over with SetWindowSubclass.
#include "framework/Exception.h"
#include "framework/TComponent.h"
#include "framework/TSubclass.h"

#include <windows.h>

class EAnimateFormError : public Exception {
    using Exception::Exception;
};

class TAnimateForm : public TComponent {
  public:
    explicit TAnimateForm(TComponent* owner);

    HWND FormHandle() const { return form_.Window(); }

  private:
    LRESULT FormProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ApplicationProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void MinimizeWithAnimation();
    void Restore();

    // Unhooked in reverse order: the application window first.
    TSubclass form_;
    TSubclass application_;
    bool animating_ = false;
};
