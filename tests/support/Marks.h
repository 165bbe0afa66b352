#pragma once
// Counting the marks the mark program leaves beside itself.
#include <windows.h>

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

// The number of marks, waiting up to timeoutMs for at least `atLeast` of them.
inline int Count(const std::wstring& program, int atLeast = 0, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    int count = 0;
    do {
        std::ifstream in(std::filesystem::path(program + L".marks"));
        std::string line;
        count = 0;
        while (std::getline(in, line))
            ++count;
        if (count >= atLeast) break;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return count;
}
} // namespace marks
