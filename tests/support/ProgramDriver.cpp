#include "support/ProgramDriver.h"
#include "support/TrayCallback.h"
#include "support/WaitUntil.h"

#include <tlhelp32.h>

#include <vector>

namespace {
const wchar_t kFormClass[] = L"TapestraForm";
const wchar_t kCaption[] = L"Vintrel Ver3.20 For Windows98";

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMain(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[64], text[128];
    GetClassNameW(wnd, cls, 64);
    GetWindowTextW(wnd, text, 128);
    if (pid == search->pid && wcscmp(cls, kFormClass) == 0 && wcscmp(text, kCaption) == 0) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CountMain(HWND wnd, LPARAM param) {
    wchar_t cls[64], text[128];
    GetClassNameW(wnd, cls, 64);
    GetWindowTextW(wnd, text, 128);
    if (wcscmp(cls, kFormClass) == 0 && wcscmp(text, kCaption) == 0) ++*reinterpret_cast<int*>(param);
    return TRUE;
}

struct ChildSearch {
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK FindChildProc(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    wchar_t cls[64];
    GetClassNameW(wnd, cls, 64);
    if (_wcsicmp(cls, search->cls) == 0) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

ProgramDriver::~ProgramDriver() {
    if (process_) {
        if (Running()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

std::wstring ProgramDriver::BinDir() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

void ProgramDriver::EndStrayPrograms() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, L"Tapestra32.exe") != 0) continue;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

bool ProgramDriver::Start(const std::wstring& folder, const std::wstring& arguments) {
    std::wstring exe = folder + L"Tapestra32.exe";
    std::wstring command = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

bool ProgramDriver::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND ProgramDriver::WaitForMainWindow(bool visible, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            Search search{pid_, nullptr};
            EnumWindows(FindMain, reinterpret_cast<LPARAM>(&search));
            if (search.found && (!visible || IsWindowVisible(search.found))) found = search.found;
            return found || !Running();
        },
        timeoutMs);
    if (!found) return nullptr;
    // Answered only once the program's message loop runs, that is when its
    // start-up is complete.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
    return found;
}

DWORD ProgramDriver::WaitForExit(DWORD timeoutMs) {
    if (!process_) return STILL_ACTIVE;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool ProgramDriver::TypeMenuKeys(HWND window, const std::wstring& keys) {
    SetForegroundWindow(window);
    if (!WaitUntil([&] { return GetForegroundWindow() == window; }, 2000)) return false;
    auto key = [](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &input, sizeof(input));
        Sleep(30);
    };
    // Alt with the first letter opens a menu of the bar; the others pick items.
    key(VK_MENU, false);
    key(static_cast<WORD>(keys[0]), false);
    key(static_cast<WORD>(keys[0]), true);
    key(VK_MENU, true);
    for (size_t i = 1; i < keys.size(); ++i) {
        Sleep(150);
        key(static_cast<WORD>(keys[i]), false);
        key(static_cast<WORD>(keys[i]), true);
    }
    return true;
}

bool ProgramDriver::ChooseMenu(HWND window, const std::wstring& keys, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        TypeMenuKeys(window, keys);
        if (WaitUntil(done, 3000)) return true;
        // Close whatever menu a lost keystroke left open.
        PostMessageW(window, WM_CANCELMODE, 0, 0);
        Sleep(100);
    }
    return done();
}

bool ProgramDriver::ChooseTrayMenu(HWND callback, wchar_t key, const std::function<bool()>& done) {
    auto menuShown = [] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    };
    for (int attempt = 0; attempt < 3; ++attempt) {
        PostMessageW(callback, kTrayMessage, 1, WM_RBUTTONDOWN);
        PostMessageW(callback, kTrayMessage, 1, WM_RBUTTONUP);
        WaitUntil(menuShown, 2000);
        PressKeys({static_cast<WORD>(key)});
        if (WaitUntil(done, 2000)) return true;
        // Close whatever menu is open before the next try.
        PressKeys({VK_ESCAPE});
        WaitUntil([&] { return !menuShown(); }, 2000);
    }
    return false;
}

void ProgramDriver::PressKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs(2 * keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        INPUT& down = inputs[i];
        INPUT& up = inputs[inputs.size() - 1 - i];
        down.type = up.type = INPUT_KEYBOARD;
        down.ki.wVk = up.ki.wVk = keys[i];
        up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND ProgramDriver::FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool ProgramDriver::ClickTaskbarButton(HWND window) {
    // The desktop's task bar keeps one button per window, the window's handle
    // as the button's identifier.
    HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr);
    for (HWND button = GetWindow(bar, GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT)) {
        if (GetWindowLongPtrW(button, GWLP_ID) != reinterpret_cast<LONG_PTR>(window) || !IsWindowVisible(button))
            continue;
        RECT r;
        GetWindowRect(button, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        return SendInput(2, click, sizeof(INPUT)) == 2;
    }
    return false;
}

HWND ProgramDriver::FindChild(HWND parent, const std::wstring& className) {
    ChildSearch search{className.c_str(), nullptr};
    EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramDriver::VisibleWindow(DWORD pid, const std::wstring& caption) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t text[128];
        GetWindowTextW(w, text, 128);
        if (owner == pid && IsWindowVisible(w) && caption == text) return w;
    }
    return nullptr;
}

HWND ProgramDriver::WaitForWindow(DWORD pid, const wchar_t* className, const wchar_t* caption,
                                  DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w = FindWindowExW(nullptr, nullptr, className, caption); w && !found;
                 w = FindWindowExW(nullptr, w, className, caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == pid && IsWindowVisible(w)) found = w;
            }
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

HWND ProgramDriver::WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    return WaitForWindow(pid, L"#32770", nullptr, timeoutMs);
}

std::wstring ProgramDriver::MessageBoxText(HWND box) {
    // The system's message box keeps its text in the static control 0xFFFF.
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
    return text;
}

int CountMainWindows() {
    int count = 0;
    EnumWindows(CountMain, reinterpret_cast<LPARAM>(&count));
    return count;
}
