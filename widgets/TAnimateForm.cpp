#include "widgets/TAnimateForm.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"

#include <commctrl.h>
#include <mmsystem.h>

namespace {
void PlaySystemSound(const wchar_t* alias) {
    // A system without the sound stays silent.
    PlaySoundW(alias, nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}
} // namespace

TAnimateForm::TAnimateForm(TComponent* owner) : TComponent(owner) {
    auto* form = dynamic_cast<TForm*>(owner);
    if (!form) throw EAnimateFormError(L"Owner must be a form");
    if (!Application || Application->MainForm() != form)
        throw EAnimateFormError(L"AnimateForm muse be placed in a main form");
    const auto id = reinterpret_cast<UINT_PTR>(this);
    const auto data = reinterpret_cast<DWORD_PTR>(this);
    if (SetWindowSubclass(form->Handle(), FormProc, id, data)) form_ = form->Handle();
    if (SetWindowSubclass(Application->Handle(), ApplicationProc, id, data)) application_ = Application->Handle();
}

TAnimateForm::~TAnimateForm() {
    const auto id = reinterpret_cast<UINT_PTR>(this);
    if (application_) RemoveWindowSubclass(application_, ApplicationProc, id);
    if (form_) RemoveWindowSubclass(form_, FormProc, id);
}

void TAnimateForm::MinimizeWithAnimation() {
    const std::wstring title = Application->Title();
    wchar_t caption[256] = {};
    GetWindowTextW(form_, caption, static_cast<int>(std::size(caption)));
    Application->SetTitle(caption);
    SetActiveWindow(application_);
    RECT rect;
    GetWindowRect(form_, &rect);
    MoveWindow(application_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    PlaySystemSound(L"Minimize");
    // The system animates the window from the form's rectangle to its button.
    ShowWindow(application_, SW_MINIMIZE);
    // The form goes with its owner; not every system hides owned windows itself.
    ShowWindow(form_, SW_HIDE);
    Application->SetTitle(title);
    if (Application->OnMinimize) Application->OnMinimize();
}

void TAnimateForm::Restore() {
    PlaySystemSound(L"RestoreUp");
    SetActiveWindow(application_);
    ShowWindow(application_, SW_RESTORE);
    MoveWindow(application_, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, FALSE);
    // The form comes back with its owner.
    if (!IsWindowVisible(form_)) ShowWindow(form_, SW_SHOW);
    SetForegroundWindow(form_);
}

LRESULT CALLBACK TAnimateForm::FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<TAnimateForm*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(wnd, FormProc, id);
        self->form_ = nullptr;
    } else if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        Guarded([&] { self->MinimizeWithAnimation(); });
        return 0;
    }
    return DefSubclassProc(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK TAnimateForm::ApplicationProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                               DWORD_PTR data) {
    auto* self = reinterpret_cast<TAnimateForm*>(data);
    switch (msg) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(wnd, ApplicationProc, id);
        self->application_ = nullptr;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            Guarded([&] { self->Restore(); });
            return 1;
        }
        if ((wParam & 0xFFF0) == SC_MINIMIZE && self->form_) {
            PlaySystemSound(L"Minimize");
            SendMessageW(self->form_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return 0;
        }
        break;
    }
    return DefSubclassProc(wnd, msg, wParam, lParam);
}
