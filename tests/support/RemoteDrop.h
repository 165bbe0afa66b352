#pragma once
// Files dropped on a window of another process, as the shell drops them.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Hands a drop of these files to a window of another process, as the shell
// does: the DROPFILES block is placed in the target process's own memory (a
// fixed block, which is its own handle) and WM_DROPFILES names it there.
inline void DropFiles(DWORD pid, HWND target, const std::vector<std::wstring>& files) {
    size_t chars = 1;
    for (const auto& f : files)
        chars += f.size() + 1;
    std::vector<BYTE> block(sizeof(DROPFILES) + chars * sizeof(wchar_t), 0);
    auto* drop = reinterpret_cast<DROPFILES*>(block.data());
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {10, 10};
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (const auto& f : files) {
        std::copy(f.begin(), f.end(), names);
        names += f.size() + 1;
    }
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(remote, nullptr);
    ASSERT_TRUE(WriteProcessMemory(process, remote, block.data(), block.size(), nullptr));
    CloseHandle(process);
    PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}
