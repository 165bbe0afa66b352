#pragma once
// An ini-style layer over one registry key: a section is a subkey path below
// it, an ident is a value name, every value is text (REG_SZ). Missing keys and
// values read as the caller's default; reading never creates a subkey, writing
// creates it with its parents.
#include "framework/Handle.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class TRegIniFile {
  public:
    // Opens root\path for reading and writing, creating it when missing.
    // readOnly opens an existing key for reading only (used to provoke and test
    // write failures); it raises when the key is missing.
    TRegIniFile(HKEY root, const std::wstring& path, bool readOnly = false);

    std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                            const std::wstring& defaultValue) const;
    int ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue) const;
    bool ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue) const;

    void WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& ident, int value);
    void WriteBool(const std::wstring& section, const std::wstring& ident, bool value);

    // Deletes one value; a missing value or section is not an error.
    void DeleteValue(const std::wstring& section, const std::wstring& ident);

    bool SectionExists(const std::wstring& section) const;
    bool ValueExists(const std::wstring& section, const std::wstring& ident) const;
    // The names of a section's values, in the registry's order.
    std::vector<std::wstring> ValueNames(const std::wstring& section) const;
    void CreateSection(const std::wstring& section);
    // Removes a section with everything below it; a missing one is not an error.
    void EraseSection(const std::wstring& section);
    // Copies every value and subkey of one section into another (created).
    void CopySection(const std::wstring& from, const std::wstring& to);
    void MoveSection(const std::wstring& from, const std::wstring& to);

    HKEY Key() const { return key_.get(); }

  private:
    // The value as text, or nothing when the section or the value is missing.
    std::optional<std::wstring> ReadText(const std::wstring& section, const std::wstring& ident) const;
    // The subkey of a section, opened once for the life of this object (null
    // when it does not exist; create makes it). Reading a group's thousand
    // values then costs a thousand reads, not a thousand opens as well.
    HKEY SectionKey(const std::wstring& section, bool create) const;
    UniqueKey OpenSection(const std::wstring& section, REGSAM access) const;

    UniqueKey key_;
    mutable std::map<std::wstring, UniqueKey> sections_;
};
