#include "framework/TRegIniFile.h"

#include "framework/Exception.h"
#include "framework/Text.h"

#include <algorithm>

namespace {
const wchar_t kWrongType[] = L"'%s' のﾃﾞｰﾀ型が不正です";
const wchar_t kReadFailed[] = L"'%s' の取得に失敗しました";
const wchar_t kWriteFailed[] = L"'%s' の設定に失敗しました";
const wchar_t kCreateFailed[] = L"ｷｰ %s の作成に失敗しました";

[[noreturn]] void Fail(const wchar_t* pattern, const std::wstring& name) {
    throw ERegistryException(FormatText(pattern, {name}));
}

void CopyTree(HKEY from, HKEY to) {
    DWORD index = 0;
    for (;;) {
        wchar_t name[16384];
        DWORD nameLen = static_cast<DWORD>(std::size(name));
        DWORD type = 0, size = 0;
        LONG rc = RegEnumValueW(from, index, name, &nameLen, nullptr, &type, nullptr, &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) Fail(kReadFailed, name);
        std::vector<BYTE> data(size);
        nameLen = static_cast<DWORD>(std::size(name));
        rc = RegEnumValueW(from, index, name, &nameLen, nullptr, &type, data.data(), &size);
        if (rc != ERROR_SUCCESS) Fail(kReadFailed, name);
        if (RegSetValueExW(to, name, 0, type, data.data(), size) != ERROR_SUCCESS) Fail(kWriteFailed, name);
        ++index;
    }
    for (index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLen = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(from, index, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        UniqueKey src, dst;
        if (RegOpenKeyExW(from, name, 0, KEY_READ, src.put()) != ERROR_SUCCESS) Fail(kReadFailed, name);
        if (RegCreateKeyExW(to, name, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, dst.put(), nullptr) !=
            ERROR_SUCCESS)
            Fail(kCreateFailed, name);
        CopyTree(src.get(), dst.get());
    }
}
} // namespace

TRegIniFile::TRegIniFile(HKEY root, const std::wstring& path, bool readOnly) {
    LONG rc = readOnly ? RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key_.put())
                       : RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                         key_.put(), nullptr);
    if (rc != ERROR_SUCCESS) Fail(kCreateFailed, path);
}

UniqueKey TRegIniFile::OpenSection(const std::wstring& section, REGSAM access) const {
    UniqueKey sub;
    if (RegOpenKeyExW(key_.get(), section.c_str(), 0, access, sub.put()) != ERROR_SUCCESS) return {};
    return sub;
}

HKEY TRegIniFile::SectionKey(const std::wstring& section, bool create) const {
    if (section.empty()) return key_.get();
    if (auto it = sections_.find(section); it != sections_.end()) return it->second.get();
    UniqueKey sub;
    if (create) {
        if (RegCreateKeyExW(key_.get(), section.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            sub.put(), nullptr) != ERROR_SUCCESS)
            Fail(kCreateFailed, section);
    } else if (RegOpenKeyExW(key_.get(), section.c_str(), 0, KEY_READ | KEY_WRITE, sub.put()) !=
                   ERROR_SUCCESS &&
               RegOpenKeyExW(key_.get(), section.c_str(), 0, KEY_READ, sub.put()) != ERROR_SUCCESS) {
        return nullptr;
    }
    return sections_.emplace(section, std::move(sub)).first->second.get();
}

std::optional<std::wstring> TRegIniFile::ReadText(const std::wstring& section,
                                                  const std::wstring& ident) const {
    HKEY sub = SectionKey(section, false);
    if (!sub) return std::nullopt;
    // Most values are short: one call reads them; a longer one is read again
    // into a buffer of its size.
    std::wstring text(260, L'\0');
    DWORD type = 0, size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    LONG rc =
        RegQueryValueExW(sub, ident.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    if (rc == ERROR_MORE_DATA) {
        text.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        rc =
            RegQueryValueExW(sub, ident.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    }
    if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (rc != ERROR_SUCCESS) Fail(kReadFailed, ident);
    if (type != REG_SZ && type != REG_EXPAND_SZ) Fail(kWrongType, ident);
    // The stored text may or may not carry its terminating zero.
    size_t length = std::min<size_t>(text.size(), size / sizeof(wchar_t));
    while (length > 0 && text[length - 1] == L'\0')
        --length;
    // A copy of its own length: a library keeps thousands of these, and the
    // read buffer is ten times the size of a typical path.
    return std::wstring(text.data(), length);
}

std::wstring TRegIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                     const std::wstring& defaultValue) const {
    return ReadText(section, ident).value_or(defaultValue);
}

int TRegIniFile::ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue) const {
    auto text = ReadText(section, ident);
    if (!text) return defaultValue;
    return ParseInteger(*text).value_or(defaultValue);
}

bool TRegIniFile::ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const std::wstring& section, const std::wstring& ident,
                              const std::wstring& value) {
    HKEY target = SectionKey(section, true);
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(target, ident.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       bytes) != ERROR_SUCCESS)
        Fail(kWriteFailed, ident);
}

void TRegIniFile::WriteInteger(const std::wstring& section, const std::wstring& ident, int value) {
    WriteString(section, ident, IntToText(value));
}

void TRegIniFile::WriteBool(const std::wstring& section, const std::wstring& ident, bool value) {
    WriteString(section, ident, value ? L"1" : L"0");
}

void TRegIniFile::DeleteValue(const std::wstring& section, const std::wstring& ident) {
    if (HKEY sub = SectionKey(section, false)) RegDeleteValueW(sub, ident.c_str());
}

bool TRegIniFile::SectionExists(const std::wstring& section) const {
    return static_cast<bool>(OpenSection(section, KEY_READ));
}

bool TRegIniFile::ValueExists(const std::wstring& section, const std::wstring& ident) const {
    UniqueKey sub = OpenSection(section, KEY_READ);
    return sub &&
           RegQueryValueExW(sub.get(), ident.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::wstring> TRegIniFile::ValueNames(const std::wstring& section) const {
    std::vector<std::wstring> names;
    UniqueKey sub = OpenSection(section, KEY_READ);
    if (!sub) return names;
    // Value names are at most 16,383 characters.
    std::wstring name(16384, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG rc = RegEnumValueW(sub.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) Fail(kReadFailed, section);
        names.emplace_back(name.data(), length);
    }
    return names;
}

void TRegIniFile::CreateSection(const std::wstring& section) {
    SectionKey(section, true);
}

void TRegIniFile::EraseSection(const std::wstring& section) {
    // Keys held open below the section would outlive it.
    sections_.clear();
    if (section.empty() || !SectionExists(section)) return;
    if (RegDeleteTreeW(key_.get(), section.c_str()) != ERROR_SUCCESS) Fail(kWriteFailed, section);
    RegDeleteKeyW(key_.get(), section.c_str());
}

void TRegIniFile::CopySection(const std::wstring& from, const std::wstring& to) {
    UniqueKey src = OpenSection(from, KEY_READ);
    if (!src) return;
    CopyTree(src.get(), SectionKey(to, true));
}

void TRegIniFile::MoveSection(const std::wstring& from, const std::wstring& to) {
    if (!SectionExists(from)) return;
    CopySection(from, to);
    EraseSection(from);
}
