#pragma once
// The picture library the program works on: the groups, the files of the
// group on show with their display positions, and the file applied last. It
// keeps the rules (how many, which names, what a delete takes along) and
// writes every change through its store at once. The tree and the list of
// the main window only show it.
#include "library/LibraryStore.h"
#include "library/Options.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

// Why a command was not carried out; empty when it was.
using Refusal = std::optional<std::wstring>;

class PictureLibrary {
  public:
    explicit PictureLibrary(const LibraryStore& store) : store_(store) {}

    // Groups by their tree index: 0 is the root "壁紙グループ", 1 to
    // GroupCount() the user's groups in stored order.
    int GroupCount() const { return static_cast<int>(groups_.size()); }
    std::wstring GroupName(int group) const;
    // Start-up: the group names from the store.
    void LoadGroups();
    // Refusals say why; a group that is added or renamed is stored at once.
    bool CanAddGroup() const;
    Refusal AddGroup(const std::wstring& name);
    Refusal RenameGroup(int group, const std::wstring& name);
    Refusal DeleteGroup(int group);

    // The group whose files are on show; -1 when none is. Showing a group
    // reads its files; a value that cannot be read keeps its default and the
    // first such error is handed back once all are in.
    int ShownGroup() const { return shown_; }
    std::exception_ptr ShowGroup(int group);

    // The rows of the group on show: row 0 is "(なし)", rows 1 on its files.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const std::vector<std::wstring>& Rows() const { return rows_; }
    const std::wstring& Row(int row) const;
    // A row's display position (0 to 3); rows past the list are at 0.
    int FileView(int row) const;
    void SetFileView(int row, int position);
    // Appends files at "標準" in the order given, as many as the group takes;
    // the refusal names what did not fit.
    Refusal AddFiles(const std::vector<std::wstring>& paths);
    Refusal DeleteFile(int row);

    // The group and row applied last (-1: no group), and the "files" value.
    int ActiveGroup = -1;
    int ActiveFile = 0;
    std::wstring CurrentFile;
    // Start-up: the options, the file applied last, the active group and row.
    void LoadSettings(Options& options);
    // A row of the group on show became the wallpaper (row 0: none).
    void Applied(int row);

  private:
    std::wstring ShownName() const { return GroupName(shown_); }
    Refusal GroupNameRefusal(const std::wstring& name) const;
    void SaveGroups() const;
    void SaveFiles() const;

    const LibraryStore& store_;
    std::vector<std::wstring> groups_;
    int shown_ = -1;
    std::vector<std::wstring> rows_;
    std::vector<int> views_;
    // Files of the group on show that were stored past the most it takes:
    // never shown, and written back with every write, so none is lost.
    std::vector<LibraryStore::StoredFile> beyond_;
};
