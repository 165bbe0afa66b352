#pragma once
// The settings and the picture library in the registry, and the library state
// the main window works on: the display position of each row, the active group
// and file, the file applied last. Every registry path of the program is
// named here; nothing here knows a window.
#include "app/Options.h"
#include "framework/TRegIniFile.h"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

class LibraryStore {
  public:
    // The program's key, opened (and created when missing) for one operation.
    static TRegIniFile ProgramKey();

    // A group's section: "FileList\" followed by its name.
    static std::wstring GroupSection(const std::wstring& group);

    // The display position of each file-list row; rows beyond the table are 0.
    std::vector<int> FileViews;
    // Tree index of the group and row applied last; -1: no group.
    int ActiveGroup = -1;
    int ActiveFile = 0;
    // The "files" value as read at start-up.
    std::wstring CurrentFile;

    int FileView(int row) const;
    void SetFileView(int row, int position);
    // Rows below a deleted one move up; the row falling off the end starts at 0.
    void RemoveFileView(int row);

    // Start-up: the file applied last, the options, the active group and row.
    // A value that cannot be read is reported and keeps its default.
    void LoadSettings(Options& options);
    // The window's size, then its position (centred on a screen of the given
    // size by default, from the size the window really took), then the panels.
    SIZE LoadWindowSize() const;
    POINT LoadWindowOrigin(SIZE window, SIZE screen) const;
    // cx: the width of the group panel, cy: the height of the preview panel.
    SIZE LoadPanelSizes() const;
    // The end: tray mode, window rectangle (screen coordinates), panels,
    // active group and row, the program to run.
    void SaveSettings(const Options& options, const RECT& window, SIZE panels) const;

    // The group names in stored order (a missing name reads as empty), and
    // their rewrite, leaving no stale names behind a shorter list.
    std::vector<std::wstring> LoadGroupNames() const;
    void SaveGroupList(const std::vector<std::wstring>& names) const;
    // A new group's key, a renamed one's, a deleted one's.
    void CreateGroup(const std::wstring& name) const;
    void RenameGroup(const std::wstring& from, const std::wstring& to) const;
    void EraseGroup(const std::wstring& name) const;

    // The rows of a group, "(なし)" first; the positions go into FileViews.
    // Everything is read before anything changes; a value that cannot be read
    // keeps its default, and the first such error is handed back.
    struct LoadedFiles {
        std::vector<std::wstring> Rows;
        std::exception_ptr Error;
    };
    LoadedFiles LoadFileList(const std::wstring& group, bool groupSelected);
    // Rewrites a group's "Count" and "Files" from rows 1 on; "View" stays.
    void SaveFileList(const std::wstring& group, const std::vector<std::wstring>& rows) const;
    // One row's position, and every row's after a delete.
    void SaveFileView(const std::wstring& group, int row, int position) const;
    void SaveFileViews(const std::wstring& group, int rows) const;
    // The text of the row just applied, as "files".
    void SaveAppliedFile(const std::wstring& text) const;

  private:
    // A group whose stored name was missing has no key of its own (its section
    // would be "FileList", every group's): writing it raises the registry's
    // creation error instead.
    static std::wstring OwnGroupSection(const std::wstring& group);
};
