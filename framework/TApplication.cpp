#include "framework/TApplication.h"

#include "framework/DefaultModalUI.h"
#include "framework/Exception.h"
#include "framework/TForm.h"
#include "framework/Text.h"

#include <commctrl.h>
#include <objbase.h>

TApplication* Application = nullptr;

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE ModuleInstance() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

namespace {
const wchar_t kAppClass[] = L"TapestraApplication";
}

TApplication::TApplication() : modalUI_(std::make_unique<TDefaultModalUI>()) {
    Application = this;
    // COM for the life of the program on its GUI thread: the shell-link
    // objects need it.
    comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = Instance();
    wc.hIcon = LoadIconW(Instance(), L"MAINICON");
    wc.hIconSm = wc.hIcon;
    wc.lpszClassName = kAppClass;
    RegisterClassExW(&wc);
    // A zero-sized popup that is never activated: its taskbar button is the
    // program's, and the forms it owns have none of their own.
    handle_ = CreateWindowExW(0, kAppClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0,
                              0, nullptr, nullptr, Instance(), this);
}

TApplication::~TApplication() {
    if (handle_) DestroyWindow(handle_);
    if (Application == this) Application = nullptr;
    if (comInitialized_) CoUninitialize();
}

HINSTANCE TApplication::Instance() const {
    return ModuleInstance();
}

void TApplication::SetTitle(const std::wstring& title) {
    title_ = title;
    SetWindowTextW(handle_, title.c_str());
}

void TApplication::FormCreated(TForm& form) {
    if (!mainForm_) mainForm_ = &form;
}

void TApplication::FormDestroyed(TForm& form) {
    if (mainForm_ == &form) mainForm_ = nullptr;
}

namespace {
struct ModalSearch {
    DWORD thread;
    HWND skip;
    HWND found = nullptr;
};

BOOL CALLBACK FindModalWindow(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<ModalSearch*>(param);
    if (wnd == search->skip || GetWindowThreadProcessId(wnd, nullptr) != search->thread) return TRUE;
    // Menus and tips have no caption; the windows a modal one keeps from
    // input are disabled.
    const LONG style = GetWindowLongW(wnd, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || !IsWindowVisible(wnd) || !IsWindowEnabled(wnd)) return TRUE;
    search->found = wnd;
    return FALSE;
}
} // namespace

HWND TApplication::ModalWindow() const {
    if (modalDepth_ == 0) return nullptr;
    // Top-level windows come in z-order: the innermost modal one is first.
    ModalSearch search{GetWindowThreadProcessId(handle_, nullptr), handle_};
    EnumWindows(FindModalWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void TApplication::ActivateFront() {
    // A late activation message never takes the front from another program.
    HWND front = GetForegroundWindow();
    if (!front || GetWindowThreadProcessId(front, nullptr) != GetWindowThreadProcessId(handle_, nullptr)) return;
    if (ModalWindowUp()) {
        if (HWND modal = ModalWindow()) SetForegroundWindow(modal);
        return;
    }
    if (mainForm_ && IsWindowVisible(mainForm_->Handle()) && IsWindowEnabled(mainForm_->Handle()))
        SetForegroundWindow(mainForm_->Handle());
}

void TApplication::Run() {
    if (ShowMainForm && mainForm_) {
        ShowWindow(handle_, SW_SHOW);
        mainForm_->Show();
    }
    MSG msg;
    while (!terminated_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    terminated_ = true;
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::HandleException(std::exception_ptr error) {
    std::wstring text;
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        text = e.Message;
    } catch (const std::exception& e) {
        text = Utf8ToWide(e.what());
    } catch (...) {
        text = L"不明なエラーが発生しました。";
    }
    SetBusyCursor(false);
    try {
        modalUI_->ShowError(text);
    } catch (...) {
        // Nothing more can be said; the program goes on.
    }
}

std::unique_ptr<IModalUI> TApplication::SetModalUI(std::unique_ptr<IModalUI> ui) {
    std::swap(ui, modalUI_);
    return ui;
}

void TApplication::SetBusyCursor(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

LRESULT CALLBACK TApplication::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
        // A click on the taskbar button activates this window: hand the
        // activation on to the window the user works in.
        if (LOWORD(wParam) != WA_INACTIVE && Application) Application->ActivateFront();
        return 0;
    case WM_ACTIVATEAPP:
        // The program comes to the front while a modal window is up: that
        // window, never the disabled one behind it.
        if (wParam && Application && Application->ModalWindowUp()) Application->ActivateFront();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE && Application && Application->mainForm_) {
            ShowWindow(wnd, SW_RESTORE);
            Application->mainForm_->Show();
            return 0;
        }
        if ((wParam & 0xFFF0) == SC_CLOSE && Application && Application->mainForm_) {
            Guarded([] { Application->mainForm_->Close(); });
            return 0;
        }
        break;
    case WM_CLOSE:
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
