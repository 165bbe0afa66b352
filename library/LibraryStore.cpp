#include "library/LibraryStore.h"

#include "library/SettingRead.h"
#include "library/StoreNames.h"
#include "framework/Exception.h"
#include "framework/Text.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace {
const wchar_t kProgramKey[] = L"Software\\Orvel\\WallPaper";
// Beside a group's "Count": its shuffled round.
const wchar_t kRoundValue[] = L"Shuffle";

std::wstring Numbered(const wchar_t* prefix, int n) {
    return prefix + IntToText(n);
}

// A stored count, bounded so a corrupt one cannot run a loop for ever.
int StoredCount(const TRegIniFile& reg, const std::wstring& section, int most) {
    return std::clamp(reg.ReadInteger(section, L"Count", 0), 0, most);
}

// The number of a value named "File" and a number written plainly.
std::optional<int> FileNumber(const std::wstring& name) {
    if (name.size() < 5 || name.size() > 14 || name.compare(0, 4, L"File") != 0 || name[4] == L'0')
        return std::nullopt;
    long long n = 0;
    for (size_t i = 4; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9') return std::nullopt;
        n = n * 10 + (name[i] - L'0');
    }
    if (n > INT_MAX) return std::nullopt;
    return static_cast<int>(n);
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

LibraryStore::AppliedState LibraryStore::LoadSettings(Options& options) const {
    TRegIniFile reg = OpenKey();
    AppliedState state;
    ReadInto(state.CurrentFile, [&] { return reg.ReadString(kSettingsSection, L"files", L""); });
    options.Load(reg);
    state.ActiveFile = SettingOrDefault(reg, L"ActiveFile", 0);
    state.ActiveGroup = SettingOrDefault(reg, L"ActiveGroup", -1);
    return state;
}

void LibraryStore::SaveOptions(const Options& options) const {
    TRegIniFile reg = OpenKey();
    options.SaveConfirmed(reg);
}

SIZE LibraryStore::LoadWindowSize() const {
    TRegIniFile reg = OpenKey();
    int height = SettingOrDefault(reg, L"Height", 400);
    return SIZE{SettingOrDefault(reg, L"Width", 550), height};
}

POINT LibraryStore::LoadWindowOrigin(SIZE window, SIZE screen) const {
    TRegIniFile reg = OpenKey();
    int top = SettingOrDefault(reg, L"Top", (screen.cy - window.cy) / 2);
    return POINT{SettingOrDefault(reg, L"Left", (screen.cx - window.cx) / 2), top};
}

SIZE LibraryStore::LoadPanelSizes() const {
    TRegIniFile reg = OpenKey();
    int height = SettingOrDefault(reg, L"pnlHeight", 150);
    return SIZE{SettingOrDefault(reg, L"pnlWidth", 211), height};
}

void LibraryStore::SaveSettings(const Options& options, const RECT& window, SIZE panels, int activeGroup,
                                int activeFile) const {
    TRegIniFile reg = OpenKey();
    const std::wstring s = kSettingsSection;
    options.SaveTrayMode(reg);
    reg.WriteInteger(s, L"Top", window.top);
    reg.WriteInteger(s, L"Left", window.left);
    reg.WriteInteger(s, L"Width", window.right - window.left);
    reg.WriteInteger(s, L"Height", window.bottom - window.top);
    reg.WriteInteger(s, L"pnlHeight", panels.cy);
    reg.WriteInteger(s, L"pnlWidth", panels.cx);
    reg.WriteInteger(s, L"ActiveGroup", activeGroup);
    reg.WriteInteger(s, L"ActiveFile", activeFile);
    options.SaveWallpaperPosition(reg);
    options.SaveAutoRun(reg);
}

std::vector<std::wstring> LibraryStore::LoadGroupNames() const {
    TRegIniFile reg = OpenKey();
    int count = 0;
    ReadInto(count, [&] { return StoredCount(reg, kGroupSection, kMaxGroups); });
    std::vector<std::wstring> names(count);
    for (int n = 1; n <= count; ++n)
        ReadInto(names[n - 1], [&] { return reg.ReadString(kGroupSection, Numbered(L"Group", n), L""); });
    return names;
}

void LibraryStore::SaveGroupList(const std::vector<std::wstring>& names) const {
    TRegIniFile reg = OpenKey();
    int oldCount = StoredCount(reg, kGroupSection, kMaxGroups);
    for (int n = 1; n <= oldCount; ++n)
        reg.DeleteValue(kGroupSection, Numbered(L"Group", n));
    reg.WriteInteger(kGroupSection, L"Count", static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i)
        reg.WriteString(kGroupSection, Numbered(L"Group", static_cast<int>(i + 1)), names[i]);
}

void LibraryStore::CreateGroup(const std::wstring& name) const {
    OpenKey().CreateSection(GroupSection(name));
}

void LibraryStore::RenameGroup(const std::wstring& from, const std::wstring& to) const {
    TRegIniFile reg = OpenKey();
    const std::wstring oldSection = GroupSection(from), newSection = GroupSection(to);
    // A nameless group has no key of its own: "FileList" itself holds every group.
    if (from.empty())
        reg.CreateSection(newSection);
    else if (reg.SectionExists(oldSection) && !reg.SectionExists(newSection))
        reg.MoveSection(oldSection, newSection);
}

void LibraryStore::EraseGroup(const std::wstring& name) const {
    // A nameless group's section would be "FileList" with every group in it.
    if (!name.empty()) OpenKey().EraseSection(GroupSection(name));
}

LibraryStore::LoadedFiles LibraryStore::LoadFileList(const std::wstring& group) const {
    TRegIniFile reg = OpenKey();
    const std::wstring section = GroupSection(group);
    const std::wstring files = section + L"\\Files", views = section + L"\\View";
    LoadedFiles loaded;
    auto read = [&loaded](auto&& value) {
        try {
            value();
        } catch (const ERegistryException&) {
            if (!loaded.Error) loaded.Error = std::current_exception();
        }
    };
    auto readFile = [&](int n, StoredFile& file) {
        read([&] { file.Path = reg.ReadString(files, Numbered(L"File", n), L""); });
        read([&] { file.View = reg.ReadInteger(views, Numbered(L"File", n), 0); });
    };
    int count = 0;
    read([&] { count = StoredCount(reg, section, kMaxFiles); });
    read([&] { loaded.Round = reg.ReadString(section, kRoundValue, L""); });
    loaded.Files.resize(count);
    for (int n = 1; n <= count; ++n)
        readFile(n, loaded.Files[n - 1]);
    if (count < kMaxFiles) return loaded;
    // Files past the most a group takes are found by their names, in their
    // order; a count or a gap cannot make this run long.
    std::vector<int> beyond;
    read([&] {
        for (const std::wstring& name : reg.ValueNames(files))
            if (std::optional<int> n = FileNumber(name); n && *n > kMaxFiles) beyond.push_back(*n);
    });
    std::sort(beyond.begin(), beyond.end());
    loaded.Beyond.resize(beyond.size());
    for (size_t i = 0; i < beyond.size(); ++i)
        readFile(beyond[i], loaded.Beyond[i]);
    return loaded;
}

void LibraryStore::SaveFileList(const std::wstring& group, const std::vector<std::wstring>& paths) const {
    TRegIniFile reg = OpenKey();
    const std::wstring section = OwnGroupSection(group);
    const std::wstring files = section + L"\\Files";
    int oldCount = StoredCount(reg, section, kMaxFiles);
    int count = static_cast<int>(paths.size());
    // The entries first, the count last: a program killed half-way through
    // leaves the old count over whole entries, never a count without them.
    for (int n = 1; n <= count; ++n)
        reg.WriteString(files, Numbered(L"File", n), paths[n - 1]);
    reg.WriteInteger(section, L"Count", count);
    // Entries past the list go, with any a killed run left behind.
    for (int n = count + 1; n <= oldCount || reg.ValueExists(files, Numbered(L"File", n)); ++n)
        reg.DeleteValue(files, Numbered(L"File", n));
}

void LibraryStore::SaveFileView(const std::wstring& group, int row, int position) const {
    OpenKey().WriteInteger(OwnGroupSection(group) + L"\\View", Numbered(L"File", row), position);
}

void LibraryStore::SaveFileViews(const std::wstring& group, const std::vector<int>& positions) const {
    TRegIniFile reg = OpenKey();
    const std::wstring views = OwnGroupSection(group) + L"\\View";
    // Every file's position, so no stale value is left for a file that moved.
    reg.EraseSection(views);
    for (size_t i = 0; i < positions.size(); ++i)
        reg.WriteInteger(views, Numbered(L"File", static_cast<int>(i + 1)), positions[i]);
}

void LibraryStore::SaveRound(const std::wstring& group, const std::wstring& round) const {
    OpenKey().WriteString(OwnGroupSection(group), kRoundValue, round);
}

void LibraryStore::SaveAppliedFile(const std::wstring& text) const {
    OpenKey().WriteString(kSettingsSection, L"files", text);
}
