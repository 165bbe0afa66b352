#include "framework/TForm.h"

#include "framework/TApplication.h"
#include "framework/ModalUI.h"
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
    if (modal_) {
        // ShowModal hides the form once its owner takes input again.
        if (ModalResult == mrNone) ModalResult = mrCancel;
        return;
    }
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else {
        Hide();
    }
}

namespace {
struct DisabledWindows {
    HWND keep;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableWindow(HWND wnd, LPARAM param) {
    auto* list = reinterpret_cast<DisabledWindows*>(param);
    if (wnd != list->keep && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        EnableWindow(wnd, FALSE);
        list->windows.push_back(wnd);
    }
    return TRUE;
}

struct KeySearch {
    WPARAM key;
    bool done;
};

BOOL CALLBACK OfferKey(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<KeySearch*>(param);
    TWinControl* control = TWinControl::FromHandle(child);
    if (control && IsWindowVisible(child) && IsWindowEnabled(child) && control->DialogKey(search->key))
        search->done = true;
    return !search->done;
}
} // namespace

int TForm::ShowModal() {
    HWND owner = GetActiveWindow();
    DisabledWindows disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    if (owner && owner != Handle()) SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ModalResult = mrNone;
    modal_ = true;
    Guarded([this] {
        if (OnShow) OnShow();
    });
    Show();
    SetForegroundWindow(Handle());
    MSG msg;
    while (ModalResult == mrNone && IsWindowVisible(Handle())) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            // The program is ending: leave the quit for its own loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (ModalKey(msg) || IsDialogMessageW(Handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ModalResult == mrNone) ModalResult = mrCancel;
    // The owner takes input again before the form goes, so it is activated.
    for (HWND wnd : disabled.windows)
        EnableWindow(wnd, TRUE);
    Hide();
    modal_ = false;
    return ModalResult;
}

bool TForm::ModalKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)) return false;
    if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
    KeySearch search{msg.wParam, false};
    EnumChildWindows(Handle(), OfferKey, reinterpret_cast<LPARAM>(&search));
    return true;
}

namespace {
BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
} // namespace

void TForm::ApplyFont(const std::wstring& face, int points) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, 96, 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    font_.reset(CreateFontIndirectW(&lf));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    EnumChildWindows(Handle(), SetChildFont, reinterpret_cast<LPARAM>(font_.get()));
}

void TForm::SetMenu(TMainMenu* menu) {
    menu_ = menu;
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        // Menu items (of the menu bar and of popups shown for this form).
        if (lParam == 0 && HIWORD(wParam) == 0 && TMenuItem::DispatchCommand(LOWORD(wParam))) return 0;
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
