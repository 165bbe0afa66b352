#include "framework/TForm.h"

#include "framework/TApplication.h"
#include "framework/TMenu.h"

#include <vector>

TForm::TForm(TComponent* owner, DWORD style) : TWinControl(owner) {
    CreateOwnWindow(L"TapestraForm", style, WS_EX_CONTROLPARENT,
                    Application ? Application->Handle() : nullptr);
    if (Application) Application->FormCreated(*this);
}

TForm::~TForm() {
    if (Application) Application->FormDestroyed(*this);
    if (menu_ && Handle()) ::SetMenu(Handle(), nullptr);
    DestroyComponents();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    return canClose;
}

void TForm::Close() {
    if (!CloseQuery()) return;
    if (OnClose) OnClose();
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else {
        Hide();
    }
}

namespace {
BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
} // namespace

void TForm::ApplyFont(const std::wstring& face, int points) {
    SetFont(face, -MulDiv(points, 96, 72));
    EnumChildWindows(Handle(), SetChildFont, reinterpret_cast<LPARAM>(Font()));
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu_) menu_->SetWindow(nullptr);
    menu_ = menu;
    if (menu_) menu_->SetWindow(Handle());
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        if (modal_) {
            modalResult_ = mrCancel;
            return 0;
        }
        Close();
        return 0;
    case WM_ACTIVATE:
        // A form kept from input by a modal window hands the activation on.
        if (LOWORD(wParam) != WA_INACTIVE && !IsWindowEnabled(Handle()) && Application &&
            Application->ModalWindowUp()) {
            Application->ActivateFront();
            return 0;
        }
        break;
    case WM_NEXTDLGCTL:
        // Sent by the dialog manager on Tab and by controls that move the
        // focus on: wParam 1 goes back, lParam 0 means relative to the focus.
        if (!LOWORD(lParam)) {
            if (HWND next = GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0)) SetFocus(next);
        } else {
            SetFocus(reinterpret_cast<HWND>(wParam));
        }
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

namespace {
// The windows a modal form keeps from input: every enabled top-level window
// of the thread but the form itself. They are enabled again however the
// modal loop ends.
class DisabledWindows {
  public:
    explicit DisabledWindows(HWND except) : except_(except) {
        EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
        for (HWND wnd : windows_)
            EnableWindow(wnd, FALSE);
    }
    ~DisabledWindows() {
        for (HWND wnd : windows_)
            if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    }
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;

  private:
    static BOOL CALLBACK Collect(HWND wnd, LPARAM param) {
        auto* self = reinterpret_cast<DisabledWindows*>(param);
        if (wnd != self->except_ && IsWindowEnabled(wnd)) self->windows_.push_back(wnd);
        return TRUE;
    }
    HWND except_;
    std::vector<HWND> windows_;
};
} // namespace

int TForm::ShowModal() {
    modalResult_ = mrNone;
    TForm* outer = Application ? Application->ModalForm() : nullptr;
    struct Restore {
        TForm& form;
        TForm* outer;
        ~Restore() {
            form.modal_ = false;
            if (Application) Application->SetModalForm(outer);
        }
    } restore{*this, outer};
    // Owned by the window it is shown over, so it stays above that window.
    if (HWND active = GetActiveWindow(); active && active != Handle())
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(active));
    {
        TModalScope modalScope;
        DisabledWindows disabled(Handle());
        modal_ = true;
        if (Application) Application->SetModalForm(this);
        if (OnShow) OnShow();
        Show();
        SetForegroundWindow(Handle());
        if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) SetFocus(first);
        RunModalLoop();
    }
    // The other windows are enabled again first, so the one that was active
    // gets the activation back.
    Hide();
    return modalResult_;
}

void TForm::RunModalLoop() {
    MSG msg;
    while (modalResult_ == mrNone) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            // The program ends: leave the quit for the outer loop.
            modalResult_ = mrCancel;
            if (Application)
                Application->Terminate();
            else
                PostQuitMessage(0);
            break;
        }
        // The form's controls may take a key first (the page keys of a page
        // control); then Tab, Enter and Escape work as in a dialog box.
        if (msg.message == WM_KEYDOWN && IsChild(Handle(), msg.hwnd) && DialogKey(msg.wParam)) continue;
        if (IsDialogMessageW(Handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
