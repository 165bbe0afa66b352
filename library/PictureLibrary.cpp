#include "library/PictureLibrary.h"

#include "library/StoreNames.h"
#include "framework/Text.h"

#include <algorithm>
#include <utility>

namespace {
constexpr size_t kMaxGroupName = 255;

// Registry key names ignore case, so group names must too.
bool SameKeyName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}
} // namespace

std::wstring PictureLibrary::GroupName(int group) const {
    if (group == 0) return kRootName;
    if (group < 1 || group > GroupCount()) return {};
    return groups_[group - 1];
}

void PictureLibrary::LoadGroups() {
    groups_ = store_.LoadGroupNames();
}

void PictureLibrary::SaveGroups() const {
    store_.SaveGroupList(groups_);
}

Refusal PictureLibrary::GroupNameRefusal(const std::wstring& name) const {
    if (name.empty()) return L"グループ名称を入力して下さい。";
    if (name.find(L'\\') != std::wstring::npos) return L"グループ名称に「\\」は使えません。";
    if (name.size() > kMaxGroupName) return L"グループ名称は255文字以内で入力して下さい。";
    for (int group = 0; group <= GroupCount(); ++group)
        if (SameKeyName(GroupName(group), name)) return L"すでにその名前のグループは存在します。";
    return std::nullopt;
}

bool PictureLibrary::CanAddGroup() const {
    return GroupCount() < kMaxGroups;
}

Refusal PictureLibrary::AddGroup(const std::wstring& name) {
    if (!CanAddGroup()) return L"これ以上グループは作成できません。";
    if (Refusal refusal = GroupNameRefusal(name)) return refusal;
    groups_.push_back(name);
    SaveGroups();
    store_.CreateGroup(name);
    return std::nullopt;
}

Refusal PictureLibrary::RenameGroup(int group, const std::wstring& name) {
    if (group == 0) return L"壁紙グループの変更は出来ません。";
    if (Refusal refusal = GroupNameRefusal(name)) return refusal;
    std::wstring oldName = std::exchange(groups_.at(group - 1), name);
    SaveGroups();
    store_.RenameGroup(oldName, name);
    return std::nullopt;
}

Refusal PictureLibrary::DeleteGroup(int group) {
    if (group == 0) return L"壁紙グループの削除は出来ません。";
    std::wstring name = groups_.at(group - 1);
    groups_.erase(groups_.begin() + (group - 1));
    if (shown_ == group)
        shown_ = -1;
    else if (shown_ > group)
        --shown_;
    SaveGroups();
    store_.EraseGroup(name);
    // Whichever group was deleted, the root is the active one now.
    ActiveGroup = 0;
    ActiveFile = 0;
    return std::nullopt;
}

std::exception_ptr PictureLibrary::ShowGroup(int group) {
    shown_ = group;
    // Row 0 keeps its position from group to group.
    const int noneView = FileView(0);
    rows_.assign(1, kNoneRow);
    views_.assign(1, noneView);
    beyond_.clear();
    // Without any group of its own, the root shows no files.
    if (group < 0 || GroupCount() == 0) return nullptr;
    LibraryStore::LoadedFiles loaded = store_.LoadFileList(GroupName(group));
    for (const LibraryStore::StoredFile& file : loaded.Files) {
        rows_.push_back(file.Path);
        views_.push_back(file.View);
    }
    beyond_ = std::move(loaded.Beyond);
    return loaded.Error;
}

const std::wstring& PictureLibrary::Row(int row) const {
    return rows_.at(row);
}

int PictureLibrary::FileView(int row) const {
    return row >= 0 && row < static_cast<int>(views_.size()) ? views_[row] : 0;
}

void PictureLibrary::SetFileView(int row, int position) {
    if (row < 0 || row >= RowCount()) return;
    views_[row] = position;
    store_.SaveFileView(ShownName(), row, position);
}

Refusal PictureLibrary::AddFiles(const std::vector<std::wstring>& paths) {
    const int room = beyond_.empty() ? std::max(0, kMaxFiles - (RowCount() - 1)) : 0;
    const int taken = std::min(room, static_cast<int>(paths.size()));
    Refusal refusal;
    if (taken < static_cast<int>(paths.size()))
        refusal = FormatText(L"1つのグループに登録できるファイルは%s個までです。%s個のファイルは追加しませんでした。",
                             {IntToText(kMaxFiles), IntToText(static_cast<long long>(paths.size()) - taken)});
    if (taken == 0) return refusal;
    // A new file starts at "標準".
    rows_.insert(rows_.end(), paths.begin(), paths.begin() + taken);
    views_.resize(rows_.size(), 0);
    SaveFiles();
    return refusal;
}

Refusal PictureLibrary::DeleteFile(int row) {
    if (row == 0) return L"（なし）は削除出来ません。";
    rows_.erase(rows_.begin() + row);
    views_.erase(views_.begin() + row);
    ActiveFile = 0;
    // Every position is written again, so none is left behind for a row
    // that moved up; then the list itself.
    std::vector<int> positions(views_.begin() + 1, views_.end());
    for (const LibraryStore::StoredFile& file : beyond_)
        positions.push_back(file.View);
    store_.SaveFileViews(ShownName(), positions);
    SaveFiles();
    return std::nullopt;
}

void PictureLibrary::SaveFiles() const {
    std::vector<std::wstring> paths(rows_.begin() + 1, rows_.end());
    for (const LibraryStore::StoredFile& file : beyond_)
        paths.push_back(file.Path);
    store_.SaveFileList(ShownName(), paths);
}

void PictureLibrary::LoadSettings(Options& options) {
    LibraryStore::AppliedState state = store_.LoadSettings(options);
    CurrentFile = std::move(state.CurrentFile);
    ActiveGroup = state.ActiveGroup;
    ActiveFile = state.ActiveFile;
}

void PictureLibrary::Applied(int row) {
    store_.SaveAppliedFile(Row(row));
    ActiveGroup = shown_ < 0 ? 0 : shown_;
    ActiveFile = row;
}
