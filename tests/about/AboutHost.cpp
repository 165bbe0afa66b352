#include "about/AboutHost.h"

#include "support/ProgramDriver.h"
#include "support/Pump.h"
#include "support/WaitUntil.h"

#include <atomic>
#include <thread>
#include <vector>

namespace abouthost {
namespace {
const wchar_t kDialogCaption[] = L"バージョン表示";
const UINT kMarker = WM_APP + 77;

HWND host = nullptr;
HANDLE markerSeen = nullptr;
std::atomic<bool> openAtMarker{false};

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == kMarker) {
        openAtMarker = IsWindowVisible(msg->hwnd) != FALSE;
        SetEvent(markerSeen);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK CollectLabel(HWND child, LPARAM param) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (_wcsicmp(cls, L"Static") == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

HWND CreateHostWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AboutTestHost";
        RegisterClassW(&wc);
        registered = true;
    }
    HWND wnd = CreateWindowExW(0, L"AboutTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(wnd);
    SetActiveWindow(wnd);
    return wnd;
}
} // namespace

std::string ShiftJis(const std::wstring& text) {
    int size = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::map<std::pair<int, int>, std::wstring> Labels(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectLabel, reinterpret_cast<LPARAM>(&children));
    std::map<std::pair<int, int>, std::wstring> labels;
    for (HWND child : children) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        labels[{r.left, r.top}] = text;
    }
    return labels;
}

HWND FindDialog(DWORD pid) {
    return ProgramDriver::VisibleWindow(pid, kDialogCaption);
}

HWND WaitForDialog(DWORD timeoutMs) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(GetCurrentProcessId())) != nullptr; }, timeoutMs);
    return dialog;
}

HWND HostWindow() {
    return host;
}

CallResult Call(AboutShowProc proc, const char* title, const char* version, const char* edition, HICON icon,
                const std::function<void(HWND dialog)>& whileOpen) {
    CallResult result;
    host = CreateHostWindow();
    result.host = host;
    markerSeen = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    std::thread watcher([&] {
        HWND dialog = WaitForDialog();
        result.dialog = dialog;
        if (!dialog) return;
        result.hostEnabledWhileOpen = IsWindowEnabled(host) != FALSE;
        result.ownerWhileOpen = GetWindow(dialog, GW_OWNER);
        whileOpen(dialog);
        if (OpenAfterQueuedInput(dialog)) {
            result.closedByWatcher = true;
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
    });
    result.result = proc(title, version, edition, icon);
    watcher.join();
    result.hostEnabledAfter = IsWindowEnabled(host) != FALSE;
    DispatchQueued();
    UnhookWindowsHookEx(hook);
    CloseHandle(markerSeen);
    DestroyWindow(host);
    host = nullptr;
    return result;
}

void PostKey(HWND dialog, WPARAM key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus)))
        target = info.hwndFocus;
    UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

bool OpenAfterQueuedInput(HWND dialog) {
    ResetEvent(markerSeen);
    PostMessageW(dialog, kMarker, 0, 0);
    // A marker posted to a window that goes away is dropped with it.
    DWORD start = GetTickCount();
    while (WaitForSingleObject(markerSeen, 10) != WAIT_OBJECT_0) {
        if (!IsWindow(dialog)) return false;
        if (GetTickCount() - start > 10000) return IsWindowVisible(dialog) != FALSE;
    }
    return openAtMarker;
}

HICON SolidIcon(COLORREF color) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, colour);
    RECT r{0, 0, 32, 32};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    std::vector<BYTE> zeros(32 * 32 / 8, 0);
    HBITMAP mask = CreateBitmap(32, 32, 1, 1, zeros.data());
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

COLORREF PaintedCentre(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF colour = GetPixel(dc, r.right / 2, r.bottom / 2);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colour;
}

} // namespace abouthost
