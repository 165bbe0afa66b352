// A tiny program that leaves a mark: each start appends one line to a file
// beside itself named after it with ".marks". Tests start it as the program
// run after each wallpaper change.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n + 7 > MAX_PATH) return 1;
    lstrcatW(path, L".marks");
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, "mark\n", 5, &written, nullptr);
    CloseHandle(file);
    return 0;
}
