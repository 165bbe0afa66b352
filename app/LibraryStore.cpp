// The settings and the picture library in the registry: the main window's
// LoadSettings, SaveSettings, SaveGroupList, LoadFileList and SaveFileList.
#include "app/SettingRead.h"
#include "app/StoreNames.h"
#include "app/TTapestraMain.h"
#include "app/WindowGeometry.h"
#include "framework/Exception.h"
#include "framework/TApplication.h"
#include "framework/TRegIniFile.h"
#include "framework/Text.h"

#include <algorithm>
#include <exception>

namespace {
TRegIniFile ProgramKey() {
    return TRegIniFile(HKEY_CURRENT_USER, kProgramKey);
}

std::wstring Numbered(const wchar_t* prefix, int n) {
    return prefix + IntToText(n);
}

// A stored count, bounded so a corrupt one cannot run a loop for ever.
int StoredCount(const TRegIniFile& reg, const std::wstring& section, int most) {
    return std::clamp(reg.ReadInteger(section, L"Count", 0), 0, most);
}

} // namespace

std::wstring TTapestraMain::SelectedGroupSection() const {
    HTREEITEM selected = GroupTree->Selected();
    return kFileListPrefix + (selected ? GroupTree->NodeText(selected) : std::wstring());
}

std::wstring TTapestraMain::OwnGroupSection() const {
    std::wstring section = SelectedGroupSection();
    if (section == kFileListPrefix)
        throw ERegistryException(FormatText(L"ｷｰ %s の作成に失敗しました", {section}));
    return section;
}

int TTapestraMain::FileView(int row) const {
    return row >= 0 && row < static_cast<int>(FileViews.size()) ? FileViews[row] : 0;
}

void TTapestraMain::SetFileView(int row, int position) {
    if (row < 0) return;
    if (row >= static_cast<int>(FileViews.size())) FileViews.resize(row + 1, 0);
    FileViews[row] = position;
}

void TTapestraMain::LoadSettings() {
    TRegIniFile reg = ProgramKey();
    const std::wstring s = kSettingsSection;
    auto integer = [&](const wchar_t* ident, int def) {
        return [&reg, &s, ident, def] { return reg.ReadInteger(s, ident, def); };
    };
    ReadInto(CurrentFile, [&] { return reg.ReadString(s, L"files", L""); });
    Options.Load(reg);
    ReadInto(ActiveFile, integer(L"ActiveFile", 0));
    ReadInto(ActiveGroup, integer(L"ActiveGroup", -1));

    // Geometry: height, width, top, left, then the two panels. The default
    // position centres the window on the screen.
    int height = 400, width = 550;
    ReadInto(height, integer(L"Height", 400));
    SetHeight(height);
    ReadInto(width, integer(L"Width", 550));
    SetWidth(width);
    int top = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
    ReadInto(top, integer(L"Top", top));
    SetTop(top);
    int left = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    ReadInto(left, integer(L"Left", left));
    SetLeft(left);
    int pnlHeight = 150, pnlWidth = 211;
    ReadInto(pnlHeight, integer(L"pnlHeight", 150));
    pnlTop->SetHeight(pnlHeight);
    ReadInto(pnlWidth, integer(L"pnlWidth", 211));
    pnlLeft->SetWidth(pnlWidth);

    LoadGroupList();
}

void TTapestraMain::LoadGroupList() {
    TRegIniFile reg = ProgramKey();
    int count = 0;
    ReadInto(count, [&] { return StoredCount(reg, kGroupSection, kMaxGroups); });
    HTREEITEM root = GroupTree->Root();
    for (int n = 1; n <= count; ++n) {
        std::wstring name;
        ReadInto(name, [&] { return reg.ReadString(kGroupSection, Numbered(L"Group", n), L""); });
        GroupTree->AddChild(root, name, 0, 1);
    }
    GroupTree->Expand(root);
}

void TTapestraMain::SaveSettings() {
    TRegIniFile reg = ProgramKey();
    const std::wstring s = kSettingsSection;
    Options.SaveTrayMode(reg);
    // The normal-state rectangle, also while the window is minimised, in the
    // screen coordinates LoadSettings restores it in.
    const RECT r = NormalScreenRect(Handle());
    reg.WriteInteger(s, L"Top", r.top);
    reg.WriteInteger(s, L"Left", r.left);
    reg.WriteInteger(s, L"Width", r.right - r.left);
    reg.WriteInteger(s, L"Height", r.bottom - r.top);
    reg.WriteInteger(s, L"pnlHeight", pnlTop->Height());
    reg.WriteInteger(s, L"pnlWidth", pnlLeft->Width());
    reg.WriteInteger(s, L"ActiveGroup", ActiveGroup);
    reg.WriteInteger(s, L"ActiveFile", ActiveFile);
    Options.SaveAutoRun(reg);
}

void TTapestraMain::SaveGroupList() {
    TRegIniFile reg = ProgramKey();
    int oldCount = StoredCount(reg, kGroupSection, kMaxGroups);
    for (int n = 1; n <= oldCount; ++n)
        reg.DeleteValue(kGroupSection, Numbered(L"Group", n));
    HTREEITEM root = GroupTree->Root();
    reg.WriteInteger(kGroupSection, L"Count", GroupTree->ChildCount(root));
    int n = 1;
    for (HTREEITEM node = GroupTree->FirstChild(root); node; node = GroupTree->NextSibling(node), ++n)
        reg.WriteString(kGroupSection, Numbered(L"Group", n), GroupTree->NodeText(node));
}

void TTapestraMain::LoadFileList() {
    TRegIniFile reg = ProgramKey();
    HTREEITEM root = GroupTree->Root();
    const std::wstring section = SelectedGroupSection();
    // Everything is read before the list changes, so the rows shown always
    // belong to the selected group; a value that cannot be read keeps its
    // default, and the first such error is reported once the rows are in.
    std::exception_ptr error;
    auto read = [&error](auto&& value) {
        try {
            value();
        } catch (const ERegistryException&) {
            if (!error) error = std::current_exception();
        }
    };
    int count = 0;
    if (GroupTree->ChildCount(root) > 0 && GroupTree->Selected())
        read([&] { count = StoredCount(reg, section, kMaxFiles); });
    const int rows = count + 1;
    std::vector<std::wstring> texts(rows);
    texts[0] = kNoneRow;
    // The table grows with the group; rows beyond it start at position 0, so
    // a file added later never inherits another group's position.
    std::vector<int> views(std::max<size_t>(rows, 201), 0);
    views[0] = FileView(0);
    const std::wstring files = section + L"\\Files", viewSection = section + L"\\View";
    for (int n = 1; n < rows; ++n) {
        read([&] { texts[n] = reg.ReadString(files, Numbered(L"File", n), L""); });
        read([&] { views[n] = reg.ReadInteger(viewSection, Numbered(L"File", n), 0); });
    }
    FileViews = std::move(views);
    FileList->SetRows(std::move(texts));
    if (error) Application->HandleException(error);
}

void TTapestraMain::SaveFileList() {
    TRegIniFile reg = ProgramKey();
    const std::wstring section = OwnGroupSection();
    const std::wstring files = section + L"\\Files";
    int oldCount = StoredCount(reg, section, kMaxFiles);
    for (int n = 1; n <= oldCount; ++n)
        reg.DeleteValue(files, Numbered(L"File", n));
    int count = FileList->RowCount() - 1;
    reg.WriteInteger(section, L"Count", count);
    for (int n = 1; n <= count; ++n)
        reg.WriteString(files, Numbered(L"File", n), FileList->Cell(n));
}
