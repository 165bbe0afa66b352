#pragma once
// The application object: the hidden top-level window that carries the
// program's taskbar button and title, the main form, the message loop and the
// default exception handler.
#include "framework/Handle.h"
#include "framework/ModalUI.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>

class TForm;

class TApplication {
  public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    HWND Handle() const { return handle_; }
    // Shows or hides the window that carries the taskbar button, with a
    // ShowWindow command (SW_SHOW, SW_SHOWDEFAULT, ...).
    void Show(int command = SW_SHOW) { ShowWindow(handle_, command); }
    void Hide() { ShowWindow(handle_, SW_HIDE); }
    HINSTANCE Instance() const;
    std::wstring Title() const { return title_; }
    void SetTitle(const std::wstring& title);

    // The first form created becomes the main form; closing it ends Run.
    TForm* MainForm() const { return mainForm_; }
    void FormCreated(TForm& form);
    void FormDestroyed(TForm& form);
    bool ShowMainForm = true;
    // The form shown modally now (the innermost one), or null.
    TForm* ModalForm() const { return modalForm_; }
    void SetModalForm(TForm* form) { modalForm_ = form; }
    // A modal window of the program is up (see TModalScope): the other
    // windows take no input and the tray takes no commands.
    bool ModalWindowUp() const { return modalDepth_ > 0; }
    // The window the user has to answer now: the topmost enabled, visible
    // captioned window of the program's thread while a modal window is up;
    // null otherwise or while it is not on the screen yet.
    HWND ModalWindow() const;
    // What activating the program brings to the front, while the program has
    // the foreground: the modal window while one is up, else the main form
    // when it shows. A disabled window never.
    void ActivateFront();

    // Raised after the main form was minimized by the animated minimize.
    std::function<void()> OnMinimize;

    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Dispatches waiting messages and returns (used by tests and long work).
    void ProcessMessages();

    // The default exception handler: shows the message, the program goes on.
    void HandleException(std::exception_ptr error);

    IModalUI& ModalUI() { return *modalUI_; }
    // Replaces the modal UI (tests); returns the previous one.
    std::unique_ptr<IModalUI> SetModalUI(std::unique_ptr<IModalUI> ui);

    // The screen cursor: the hourglass while busy.
    void SetBusyCursor(bool busy);
    bool BusyCursor() const { return busy_; }

  private:
    friend class TModalScope;
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    std::wstring title_;
    TForm* mainForm_ = nullptr;
    TForm* modalForm_ = nullptr;
    int modalDepth_ = 0;
    bool comInitialized_ = false;
    bool terminated_ = false;
    bool busy_ = false;
    std::unique_ptr<IModalUI> modalUI_;
};

// The one application object of this module (the program, or a library that
// links its own copy of the framework).
extern TApplication* Application;

// The module this copy of the framework is linked into: its window classes
// and resources belong to it, so a library's windows never use the program's.
HINSTANCE ModuleInstance();

// Runs a callback from Win32, handing any exception to the default handler.
template <typename F> void Guarded(F&& f) {
    try {
        f();
    } catch (...) {
        if (Application) Application->HandleException(std::current_exception());
    }
}

// Marks a modal window as up for a scope: a modal form, a message box, a
// file dialog, or a dialog of a library the program waits on.
class TModalScope {
  public:
    TModalScope() : application_(Application) {
        if (application_) ++application_->modalDepth_;
    }
    ~TModalScope() {
        if (application_) --application_->modalDepth_;
    }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

  private:
    TApplication* application_;
};

// Sets the hourglass for a scope.
class BusyCursorScope {
  public:
    BusyCursorScope() { Application->SetBusyCursor(true); }
    ~BusyCursorScope() { Application->SetBusyCursor(false); }
    BusyCursorScope(const BusyCursorScope&) = delete;
    BusyCursorScope& operator=(const BusyCursorScope&) = delete;
};
