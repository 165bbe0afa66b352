#pragma once
// Registry helpers for tests: raw reads and writes that bypass the program's
// own layer, so a test checks what really is stored.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace testreg {
inline const wchar_t kProgram[] = L"Software\\Orvel\\WallPaper";

inline void DeleteTree(HKEY root, const std::wstring& path) {
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, path.c_str());
}

inline void SetString(HKEY root, const std::wstring& path, const std::wstring& name,
                      const std::wstring& value) {
    HKEY key;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

inline void SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
    HKEY key;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

// The value as text when it exists as REG_SZ.
inline std::optional<std::wstring> GetString(HKEY root, const std::wstring& path, const std::wstring& name) {
    wchar_t buffer[4096];
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(buffer);
}

inline bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline DWORD ValueCount(HKEY root, const std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return count;
}
// Stores groups and a group's files the way the program does.
inline void SeedGroups(const std::vector<std::wstring>& names) {
    const std::wstring section = std::wstring(kProgram) + L"\\Group";
    SetString(HKEY_CURRENT_USER, section, L"Count", std::to_wstring(names.size()));
    for (size_t i = 0; i < names.size(); ++i)
        SetString(HKEY_CURRENT_USER, section, L"Group" + std::to_wstring(i + 1), names[i]);
}

inline void SeedFiles(const std::wstring& group, const std::vector<std::wstring>& files,
                      const std::vector<int>& views = {}) {
    const std::wstring section = std::wstring(kProgram) + L"\\FileList\\" + group;
    SetString(HKEY_CURRENT_USER, section, L"Count", std::to_wstring(files.size()));
    for (size_t i = 0; i < files.size(); ++i)
        SetString(HKEY_CURRENT_USER, section + L"\\Files", L"File" + std::to_wstring(i + 1), files[i]);
    for (size_t i = 0; i < views.size(); ++i)
        SetString(HKEY_CURRENT_USER, section + L"\\View", L"File" + std::to_wstring(i + 1),
                  std::to_wstring(views[i]));
}
} // namespace testreg
