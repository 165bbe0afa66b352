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
    form_.Attach(form->Handle(), [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return FormProc(msg, wParam, lParam);
    });
    application_.Attach(Application->Handle(), [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return ApplicationProc(msg, wParam, lParam);
    });
}

void TAnimateForm::MinimizeWithAnimation() {
    const HWND form = form_.Window(), application = application_.Window();
    const std::wstring title = Application->Title();
    wchar_t caption[256] = {};
    GetWindowTextW(form, caption, static_cast<int>(std::size(caption)));
    Application->SetTitle(caption);
    SetActiveWindow(application);
    RECT rect;
    GetWindowRect(form, &rect);
    {
        // The one time the application window takes the form's size.
        animating_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{animating_};
        MoveWindow(application, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
        PlaySystemSound(L"Minimize");
        // The system animates the window from the form's rectangle to its button.
        ShowWindow(application, SW_MINIMIZE);
    }
    // The form goes with its owner; not every system hides owned windows itself.
    ShowWindow(form, SW_HIDE);
    Application->SetTitle(title);
    if (Application->OnMinimize) Application->OnMinimize();
}

void TAnimateForm::Restore() {
    const HWND form = form_.Window(), application = application_.Window();
    PlaySystemSound(L"RestoreUp");
    SetActiveWindow(application);
    ShowWindow(application, SW_RESTORE);
    MoveWindow(application, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, FALSE);
    // The form comes back with its owner.
    if (!IsWindowVisible(form)) ShowWindow(form, SW_SHOW);
    SetForegroundWindow(form);
}

LRESULT TAnimateForm::FormProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        Guarded([&] { MinimizeWithAnimation(); });
        return 0;
    }
    return form_.Next(msg, wParam, lParam);
}

LRESULT TAnimateForm::ApplicationProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_WINDOWPOSCHANGING:
        // However it is restored (the taskbar, the tray's 起動, another
        // program), the window comes back as a point, never at the size the
        // animation gave it: it would show as an empty window.
        if (!animating_ && !IsIconic(application_.Window())) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            pos->x = GetSystemMetrics(SM_CXSCREEN) / 2;
            pos->y = GetSystemMetrics(SM_CYSCREEN) / 2;
            pos->cx = pos->cy = 0;
            pos->flags &= ~static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE);
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            Guarded([&] { Restore(); });
            return 1;
        }
        if ((wParam & 0xFFF0) == SC_MINIMIZE && form_.Window()) {
            PlaySystemSound(L"Minimize");
            SendMessageW(form_.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return 0;
        }
        break;
    }
    return application_.Next(msg, wParam, lParam);
}
