// The floor for start-up and memory figures: the least a window program of
// this kind can do. It loads the system DLLs Tapestra32.exe imports (named on
// its command line, read from the program by the benchmark runner, so the
// floor follows the program as its imports change), carries the same
// manifest, registers a class, shows one window with a list box (the size of
// the program's main window at its first start) and runs a message loop.
// Usage: bench_floor CLASSNAME [DLL ...]
#include "framework/StepTrace.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {
LRESULT CALLBACK FloorProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The same step trace as the program's, for a breakdown side by side.
    StepTrace trace(L"floor", true);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 2; argv && i < argc; ++i)
        LoadLibraryW(argv[i]);
    const std::wstring className = argv && argc > 1 ? argv[1] : L"FloorWindow";
    LocalFree(argv);
    trace.Step(L"system DLLs");

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc)) return 1;
    HWND window = CreateWindowExW(0, className.c_str(), L"floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 550, 400, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    trace.Step(L"first window");
    CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 0, 0,
                    550, 360, window, nullptr, instance, nullptr);
    trace.Step(L"list box");
    ShowWindow(window, SW_SHOW);
    trace.Step(L"show");
    trace.Finish();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
