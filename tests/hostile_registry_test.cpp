// A damaged store: every setting and library value of the wrong type, far too
// long, counts negative or huge, entries missing in the middle of a list. The
// program must start, report what it cannot read, and keep every value it
// does not rewrite at its exit exactly as it was.
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include "framework/Text.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

namespace {
using Hostile = MainWindowFixture;

// Every value below the program key: path\name -> type and bytes.
struct Stored {
    DWORD type;
    std::vector<BYTE> data;
    bool operator==(const Stored&) const = default;
};
using Snapshot = std::map<std::wstring, Stored>;

void Take(HKEY key, const std::wstring& path, Snapshot& into) {
    DWORD values = 0, longestName = 0, longestData = 0, subkeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, &longestName,
                     &longestData, nullptr, nullptr);
    for (DWORD i = 0; i < values; ++i) {
        std::wstring name(longestName + 1, L'\0');
        DWORD nameLength = longestName + 1, type = 0, size = longestData;
        std::vector<BYTE> data(longestData);
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            continue;
        data.resize(size);
        into[path + L"|" + name.substr(0, nameLength)] = {type, std::move(data)};
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        wchar_t name[256];
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        HKEY sub;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        Take(sub, path + L"\\" + name, into);
        RegCloseKey(sub);
    }
}

Snapshot Take() {
    Snapshot snapshot;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, testreg::kProgram, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return snapshot;
    Take(key, L"", snapshot);
    RegCloseKey(key);
    return snapshot;
}

const std::wstring kSettingsPath = L"\\動作環境";
// What the exit writes whatever was stored: the window state and the few
// options it owns (the tray mode and the program run after a change).
const std::set<std::wstring> kRewrittenAtExit = {L"モード",     L"Top",       L"Left",     L"Width",
                                                 L"Height",     L"pnlHeight", L"pnlWidth", L"ActiveGroup",
                                                 L"ActiveFile", L"自動実行",  L"自動File", L"WallpaperPosition"};

bool RewrittenAtExit(const std::wstring& entry) {
    const size_t bar = entry.find(L'|');
    return entry.substr(0, bar) == kSettingsPath && kRewrittenAtExit.count(entry.substr(bar + 1));
}

void SetValue(const std::wstring& section, const std::wstring& name, DWORD type,
              const std::vector<BYTE>& data) {
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(testreg::kProgram) + section).c_str(), 0, nullptr, 0,
                    KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void DeleteValue(const std::wstring& section, const std::wstring& name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(testreg::kProgram) + section).c_str(), 0, KEY_WRITE,
                      &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
}

std::vector<BYTE> Bytes(const std::wstring& text) {
    const BYTE* start = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(start, start + (text.size() + 1) * sizeof(wchar_t));
}

// One damaged value, where it lives and what the program must say about it.
struct Place {
    std::wstring section, name;
};

const std::wstring kGroups = L"\\Group", kFirst = L"\\FileList\\一";
const std::vector<Place> kSettingValues = [] {
    std::vector<Place> places;
    for (const wchar_t* name : {L"中央表示", L"終了",     L"モード",      L"起動設定",   L"時間", L"時間変更",
                                L"変更方法", L"一発消去", L"XPos",        L"YPos",       L"Move", L"自動実行",
                                L"自動File", L"files",    L"ActiveGroup", L"ActiveFile", L"Top",  L"Left",
                                L"Width",    L"Height",   L"pnlHeight",   L"pnlWidth"})
        places.push_back({kSettingsPath, name});
    return places;
}();
// The library values read at start-up: the group list and the active
// group's list.
const std::vector<Place> kLibraryValues = {{kGroups, L"Count"},
                                           {kGroups, L"Group1"},
                                           {kGroups, L"Group3"},
                                           {kFirst, L"Count"},
                                           {kFirst + L"\\Files", L"File1"},
                                           {kFirst + L"\\Files", L"File3"},
                                           {kFirst + L"\\View", L"File2"}};

struct Case {
    std::string name;
    std::function<void()> damage;
    std::vector<std::wstring> errors;
};

std::string Describe(const Place& place, const char* what) {
    return WideToUtf8(place.section + L"|" + place.name) + " " + what;
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    std::vector<Place> all = kSettingValues;
    all.insert(all.end(), kLibraryValues.begin(), kLibraryValues.end());
    const std::vector<BYTE> dword = {30, 0, 0, 0}, binary = {'1', 0, 0xFF, 0xFE, 7},
                            multi = Bytes(std::wstring(L"1\0"
                                                       L"2\0",
                                                       4));
    const std::wstring huge(100000, L'7');
    for (const Place& p : all) {
        const std::wstring wrongType = FormatText(L"'%s' のﾃﾞｰﾀ型が不正です", {p.name});
        for (auto [type, data, what] :
             {std::tuple{REG_DWORD, dword, "REG_DWORD"}, std::tuple{REG_BINARY, binary, "REG_BINARY"},
              std::tuple{REG_MULTI_SZ, multi, "REG_MULTI_SZ"}})
            cases.push_back(
                {Describe(p, what), [=] { SetValue(p.section, p.name, type, data); }, {wrongType}});
        cases.push_back({Describe(p, "100,000 characters"),
                         [=] { SetValue(p.section, p.name, REG_SZ, Bytes(huge)); },
                         {}});
    }
    for (const std::wstring& section : {kGroups, kFirst})
        for (const wchar_t* count : {L"-5", L"-2147483648", L"2147483647", L"0x7FFFFFFF", L"99999999999"})
            cases.push_back({Describe({section, L"Count"}, WideToUtf8(count).c_str()),
                             [=] { SetValue(section, L"Count", REG_SZ, Bytes(count)); },
                             {}});
    for (const Place& p : {Place{kGroups, L"Group2"}, Place{kFirst + L"\\Files", L"File2"},
                           Place{kFirst + L"\\View", L"File2"}})
        cases.push_back({Describe(p, "missing"), [=] { DeleteValue(p.section, p.name); }, {}});
    return cases;
}

TEST_F(Hostile, EveryDamagedValueStartsReportsAndKeepsTheRest) {
    const std::wstring dir = testfiles::FreshFolder(L"tapestra hostile registry");
    std::vector<std::wstring> pictures;
    for (int i = 1; i <= 3; ++i)
        pictures.push_back(
            testfiles::WriteBitmap(dir + L"\\" + std::to_wstring(i) + L".bmp", 20 + i, 10, RGB(i, 2, 3)));
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        SeedGroups({L"一", L"二", L"三"});
        SeedFiles(L"一", pictures, {1, 2, 3});
        SeedFiles(L"二", {pictures[0]}, {2});
        SeedFiles(L"三", {pictures[1], pictures[2]});
        const std::pair<const wchar_t*, const wchar_t*> settings[] = {{L"中央表示", L"0"},
                                                                      {L"終了", L"0"},
                                                                      {L"モード", L"1"},
                                                                      {L"起動設定", L"0"},
                                                                      {L"時間", L"15"},
                                                                      {L"時間変更", L"0"},
                                                                      {L"変更方法", L"2"},
                                                                      {L"一発消去", L"1"},
                                                                      {L"XPos", L"3"},
                                                                      {L"YPos", L"4"},
                                                                      {L"Move", L"0"},
                                                                      {L"自動実行", L"0"},
                                                                      {L"自動File", L"C:\\run.exe"},
                                                                      {L"ActiveGroup", L"1"},
                                                                      {L"ActiveFile", L"2"},
                                                                      {L"Top", L"50"},
                                                                      {L"Left", L"60"},
                                                                      {L"Width", L"560"},
                                                                      {L"Height", L"410"},
                                                                      {L"pnlHeight", L"140"},
                                                                      {L"pnlWidth", L"200"}};
        for (auto [name, value] : settings)
            SetSetting(name, value);
        SetSetting(L"files", pictures[1]);
        c.damage();
        const Snapshot before = Take();
        modal->Errors.clear();

        TTapestraMain& m = Start();
        EXPECT_TRUE(m.Visible());
        EXPECT_EQ(modal->Errors, c.errors);
        EXPECT_LE(m.GroupTree->ChildCount(m.GroupTree->Root()), 50);
        EXPECT_LE(m.FileList->RowCount(), 10001);
        Guarded([&] { m.Exit1Click(); });
        EXPECT_FALSE(m.Visible()) << "the exit did not close the window";
        EXPECT_EQ(modal->Errors, c.errors) << "the exit reported an error";

        const Snapshot after = Take();
        for (const auto& [entry, value] : before) {
            if (RewrittenAtExit(entry)) continue;
            auto found = after.find(entry);
            if (found == after.end())
                ADD_FAILURE() << WideToUtf8(entry) << " was lost";
            else if (!(found->second == value))
                ADD_FAILURE() << WideToUtf8(entry) << " was changed";
        }
        for (const auto& [entry, value] : after) {
            if (RewrittenAtExit(entry))
                EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << WideToUtf8(entry);
            else if (!before.count(entry))
                ADD_FAILURE() << WideToUtf8(entry) << " was added";
        }
        owner.reset();
        DiscardQueued();
    }
}
} // namespace
