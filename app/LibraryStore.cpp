#include "app/LibraryStore.h"

#include "app/SettingRead.h"
#include "app/StoreNames.h"
#include "framework/Exception.h"
#include "framework/Text.h"

#include <algorithm>

namespace {
const wchar_t kProgramKey[] = L"Software\\Orvel\\WallPaper";

std::wstring Numbered(const wchar_t* prefix, int n) {
    return prefix + IntToText(n);
}

// A stored count, bounded so a corrupt one cannot run a loop for ever.
int StoredCount(const TRegIniFile& reg, const std::wstring& section, int most) {
    return std::clamp(reg.ReadInteger(section, L"Count", 0), 0, most);
}

// One setting of the window, read at start-up: reported and kept at its
// default when it cannot be read.
int SettingOrDefault(const TRegIniFile& reg, const wchar_t* ident, int def) {
    int value = def;
    ReadInto(value, [&] { return reg.ReadInteger(kSettingsSection, ident, def); });
    return value;
}
} // namespace

TRegIniFile LibraryStore::ProgramKey() {
    return TRegIniFile(HKEY_CURRENT_USER, kProgramKey);
}

std::wstring LibraryStore::GroupSection(const std::wstring& group) {
    return kFileListPrefix + group;
}

std::wstring LibraryStore::OwnGroupSection(const std::wstring& group) {
    std::wstring section = GroupSection(group);
    if (group.empty()) throw ERegistryException(FormatText(L"ｷｰ %s の作成に失敗しました", {section}));
    return section;
}

int LibraryStore::FileView(int row) const {
    return row >= 0 && row < static_cast<int>(FileViews.size()) ? FileViews[row] : 0;
}

void LibraryStore::SetFileView(int row, int position) {
    if (row < 0) return;
    if (row >= static_cast<int>(FileViews.size())) FileViews.resize(row + 1, 0);
    FileViews[row] = position;
}

void LibraryStore::RemoveFileView(int row) {
    if (row >= 0 && row < static_cast<int>(FileViews.size())) FileViews.erase(FileViews.begin() + row);
    FileViews.push_back(0);
}

void LibraryStore::LoadSettings(Options& options) {
    TRegIniFile reg = ProgramKey();
    ReadInto(CurrentFile, [&] { return reg.ReadString(kSettingsSection, L"files", L""); });
    options.Load(reg);
    ActiveFile = SettingOrDefault(reg, L"ActiveFile", 0);
    ActiveGroup = SettingOrDefault(reg, L"ActiveGroup", -1);
}

SIZE LibraryStore::LoadWindowSize() const {
    TRegIniFile reg = ProgramKey();
    int height = SettingOrDefault(reg, L"Height", 400);
    return SIZE{SettingOrDefault(reg, L"Width", 550), height};
}

POINT LibraryStore::LoadWindowOrigin(SIZE window, SIZE screen) const {
    TRegIniFile reg = ProgramKey();
    int top = SettingOrDefault(reg, L"Top", (screen.cy - window.cy) / 2);
    return POINT{SettingOrDefault(reg, L"Left", (screen.cx - window.cx) / 2), top};
}

SIZE LibraryStore::LoadPanelSizes() const {
    TRegIniFile reg = ProgramKey();
    int height = SettingOrDefault(reg, L"pnlHeight", 150);
    return SIZE{SettingOrDefault(reg, L"pnlWidth", 211), height};
}

void LibraryStore::SaveSettings(const Options& options, const RECT& window, SIZE panels) const {
    TRegIniFile reg = ProgramKey();
    const std::wstring s = kSettingsSection;
    options.SaveTrayMode(reg);
    reg.WriteInteger(s, L"Top", window.top);
    reg.WriteInteger(s, L"Left", window.left);
    reg.WriteInteger(s, L"Width", window.right - window.left);
    reg.WriteInteger(s, L"Height", window.bottom - window.top);
    reg.WriteInteger(s, L"pnlHeight", panels.cy);
    reg.WriteInteger(s, L"pnlWidth", panels.cx);
    reg.WriteInteger(s, L"ActiveGroup", ActiveGroup);
    reg.WriteInteger(s, L"ActiveFile", ActiveFile);
    options.SaveAutoRun(reg);
}

std::vector<std::wstring> LibraryStore::LoadGroupNames() const {
    TRegIniFile reg = ProgramKey();
    int count = 0;
    ReadInto(count, [&] { return StoredCount(reg, kGroupSection, kMaxGroups); });
    std::vector<std::wstring> names(count);
    for (int n = 1; n <= count; ++n)
        ReadInto(names[n - 1], [&] { return reg.ReadString(kGroupSection, Numbered(L"Group", n), L""); });
    return names;
}

void LibraryStore::SaveGroupList(const std::vector<std::wstring>& names) const {
    TRegIniFile reg = ProgramKey();
    int oldCount = StoredCount(reg, kGroupSection, kMaxGroups);
    for (int n = 1; n <= oldCount; ++n)
        reg.DeleteValue(kGroupSection, Numbered(L"Group", n));
    reg.WriteInteger(kGroupSection, L"Count", static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i)
        reg.WriteString(kGroupSection, Numbered(L"Group", static_cast<int>(i + 1)), names[i]);
}

void LibraryStore::CreateGroup(const std::wstring& name) const {
    ProgramKey().CreateSection(GroupSection(name));
}

void LibraryStore::RenameGroup(const std::wstring& from, const std::wstring& to) const {
    TRegIniFile reg = ProgramKey();
    const std::wstring oldSection = GroupSection(from), newSection = GroupSection(to);
    // A nameless group has no key of its own: "FileList" itself holds every group.
    if (from.empty())
        reg.CreateSection(newSection);
    else if (reg.SectionExists(oldSection) && !reg.SectionExists(newSection))
        reg.MoveSection(oldSection, newSection);
}

void LibraryStore::EraseGroup(const std::wstring& name) const {
    // A nameless group's section would be "FileList" with every group in it.
    if (!name.empty()) ProgramKey().EraseSection(GroupSection(name));
}

LibraryStore::LoadedFiles LibraryStore::LoadFileList(const std::wstring& group, bool groupSelected) {
    TRegIniFile reg = ProgramKey();
    const std::wstring section = GroupSection(group);
    LoadedFiles loaded;
    auto read = [&loaded](auto&& value) {
        try {
            value();
        } catch (const ERegistryException&) {
            if (!loaded.Error) loaded.Error = std::current_exception();
        }
    };
    int count = 0;
    if (groupSelected) read([&] { count = StoredCount(reg, section, kMaxFiles); });
    const int rows = count + 1;
    loaded.Rows.resize(rows);
    loaded.Rows[0] = kNoneRow;
    // The table grows with the group; rows beyond it start at position 0, so
    // a file added later never inherits another group's position.
    std::vector<int> views(std::max<size_t>(rows, 201), 0);
    views[0] = FileView(0);
    const std::wstring files = section + L"\\Files", viewSection = section + L"\\View";
    for (int n = 1; n < rows; ++n) {
        read([&] { loaded.Rows[n] = reg.ReadString(files, Numbered(L"File", n), L""); });
        read([&] { views[n] = reg.ReadInteger(viewSection, Numbered(L"File", n), 0); });
    }
    FileViews = std::move(views);
    return loaded;
}

void LibraryStore::SaveFileList(const std::wstring& group, const std::vector<std::wstring>& rows) const {
    TRegIniFile reg = ProgramKey();
    const std::wstring section = OwnGroupSection(group);
    const std::wstring files = section + L"\\Files";
    int oldCount = StoredCount(reg, section, kMaxFiles);
    for (int n = 1; n <= oldCount; ++n)
        reg.DeleteValue(files, Numbered(L"File", n));
    int count = static_cast<int>(rows.size()) - 1;
    reg.WriteInteger(section, L"Count", count);
    for (int n = 1; n <= count; ++n)
        reg.WriteString(files, Numbered(L"File", n), rows[n]);
}

void LibraryStore::SaveFileView(const std::wstring& group, int row, int position) const {
    ProgramKey().WriteInteger(OwnGroupSection(group) + L"\\View", Numbered(L"File", row), position);
}

void LibraryStore::SaveFileViews(const std::wstring& group, int rows) const {
    TRegIniFile reg = ProgramKey();
    const std::wstring views = OwnGroupSection(group) + L"\\View";
    // Every row's position, so no stale value is left for a row that moved.
    reg.EraseSection(views);
    for (int n = 1; n < rows; ++n)
        reg.WriteInteger(views, Numbered(L"File", n), FileView(n));
}

void LibraryStore::SaveAppliedFile(const std::wstring& text) const {
    ProgramKey().WriteString(kSettingsSection, L"files", text);
}
