#pragma once
// Minimizing and restoring the main form play the system sounds and animate
// between the form's rectangle and its taskbar button: the minimize and
// restore commands of the form's window and of the application's window
// (which owns the taskbar button) are taken over with SetWindowSubclass.
#include "framework/Exception.h"
#include "framework/TComponent.h"

#include <windows.h>

class EAnimateFormError : public Exception {
    using Exception::Exception;
};

class TAnimateForm : public TComponent {
  public:
    explicit TAnimateForm(TComponent* owner);
    ~TAnimateForm() override;

    HWND FormHandle() const { return form_; }

  private:
    static LRESULT CALLBACK FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    static LRESULT CALLBACK ApplicationProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR data);
    void MinimizeWithAnimation();
    void Restore();

    HWND form_ = nullptr;
    HWND application_ = nullptr;
};
