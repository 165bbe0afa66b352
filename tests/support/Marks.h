#pragma once
// Counting the marks the mark program leaves beside itself.
#include "support/WaitUntil.h"

#include <windows.h>

#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace marks {
// Copies the mark program into folder; returns its path there.
inline std::wstring Install(const std::wstring& binDir, const std::wstring& folder) {
    std::filesystem::path target = std::filesystem::path(folder) / L"mark me.exe";
    std::filesystem::copy_file(std::filesystem::path(binDir) / L"mark.exe", target,
                               std::filesystem::copy_options::overwrite_existing);
    return target.wstring();
}

inline int MarksNow(const std::wstring& program) {
    std::ifstream in(std::filesystem::path(program + L".marks"));
    std::string line;
    int count = 0;
    while (std::getline(in, line))
        ++count;
    return count;
}

// The number of marks, waiting up to timeoutMs for at least `atLeast` of them.
inline int Count(const std::wstring& program, int atLeast = 0, DWORD timeoutMs = 5000) {
    int count = 0;
    WaitUntil([&] { return (count = MarksNow(program)) >= atLeast; }, timeoutMs);
    return count;
}

// True while a mark program started from anywhere still runs.
inline bool AnyRunning() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool running = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !running;
         more = Process32NextW(snapshot, &entry))
        running = _wcsicmp(entry.szExeFile, L"mark me.exe") == 0;
    CloseHandle(snapshot);
    return running;
}

// A check that no mark was left waits for every mark program started so far
// to end: a start the program made would have left its mark by then.
inline bool AllEnded(DWORD timeoutMs = 5000) {
    return WaitUntil([] { return !AnyRunning(); }, timeoutMs);
}
} // namespace marks
