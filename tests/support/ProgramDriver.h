#pragma once
// Drives the built Tapestra32.exe from outside: starts it, finds its windows,
// sends it commands, waits for its end.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ProgramDriver {
  public:
    ProgramDriver() = default;
    ~ProgramDriver();
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // The folder of the test program, where the build puts the exe too.
    static std::wstring BinDir();

    // Ends any Tapestra32.exe left running by an earlier, interrupted test.
    static void EndStrayPrograms();

    // Starts the program of a folder (the build's by default) in that folder,
    // with a command line after its name.
    bool Start(const std::wstring& folder = BinDir(), const std::wstring& arguments = L"");
    DWORD ProcessId() const { return pid_; }
    bool Running() const;
    // The main window of the started process once its start-up is complete
    // (and, when asked, once it is visible), waited for up to timeoutMs.
    HWND WaitForMainWindow(bool visible = true, DWORD timeoutMs = 15000);
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit(DWORD timeoutMs = 15000);
    // Picks a menu item of the window's menu bar by its mnemonics, as a user
    // would type them (menus of another process cannot be read under Wine):
    // "FX" is Alt+F, then X.
    static bool TypeMenuKeys(HWND window, const std::wstring& keys);
    // Types the menu keys until done() holds (a keystroke can be lost while
    // the desktop hands the focus over); false when it never does.
    static bool ChooseMenu(HWND window, const std::wstring& keys, const std::function<bool()>& done);
    // Opens the tray icon's menu (as the shell reports a right click) and
    // types an item's key until done() holds.
    static bool ChooseTrayMenu(HWND callback, wchar_t key, const std::function<bool()>& done);
    // Presses keys together, as Ctrl+Tab: down in order, up in reverse.
    static void PressKeys(const std::vector<WORD>& keys);
    // The window with the keyboard focus in the thread of a window.
    static HWND FocusOf(HWND window);
    // Clicks the task bar's button of a top-level window; false without one.
    static bool ClickTaskbarButton(HWND window);
    // Finds a child window of a class (first match, depth first).
    static HWND FindChild(HWND parent, const std::wstring& className);
    // A visible top-level window of a process with this caption, or null.
    static HWND VisibleWindow(DWORD pid, const std::wstring& caption);
    // A visible top-level window of the process of this class and caption
    // (either may be null: any), waited for up to timeoutMs, or null.
    static HWND WaitForWindow(DWORD pid, const wchar_t* className, const wchar_t* caption,
                              DWORD timeoutMs = 5000);
    // A message box the process shows, waited for up to timeoutMs, or null.
    static HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs = 10000);
    // The text a message box says (not its caption or buttons).
    static std::wstring MessageBoxText(HWND box);

  private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Top-level windows of the program's main form class in any process.
int CountMainWindows();
