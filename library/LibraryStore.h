#pragma once
// Where the program keeps everything: the settings and the picture library
// under its registry key. Every registry path of the program is named here;
// nothing here keeps state of its own or knows a window.
#include "library/Options.h"
#include "framework/TRegIniFile.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

class LibraryStore {
  public:
    // The program's key, opened (and created when missing) for one operation.
    static TRegIniFile ProgramKey();
    // How this store opens it; tests point it elsewhere.
    std::function<TRegIniFile()> OpenKey = &ProgramKey;

    // A group's section: "FileList\" followed by its name.
    static std::wstring GroupSection(const std::wstring& group);

    // Start-up: the options, the file applied last, the active group and row.
    // A value that cannot be read is reported and keeps its default.
    struct AppliedState {
        std::wstring CurrentFile;
        int ActiveGroup = -1;
        int ActiveFile = 0;
    };
    AppliedState LoadSettings(Options& options) const;
    // What the options dialog confirms.
    void SaveOptions(const Options& options) const;
    // The window's size, then its position (centred on a screen of the given
    // size by default, from the size the window really took), then the panels.
    SIZE LoadWindowSize() const;
    POINT LoadWindowOrigin(SIZE window, SIZE screen) const;
    // cx: the width of the group panel, cy: the height of the preview panel.
    SIZE LoadPanelSizes() const;
    // The end: tray mode, window rectangle (screen coordinates), panels,
    // active group and row, the program to run.
    void SaveSettings(const Options& options, const RECT& window, SIZE panels, int activeGroup,
                      int activeFile) const;

    // The group names in stored order (a missing name reads as empty), and
    // their rewrite, leaving no stale names behind a shorter list.
    std::vector<std::wstring> LoadGroupNames() const;
    void SaveGroupList(const std::vector<std::wstring>& names) const;
    // A new group's key, a renamed one's, a deleted one's.
    void CreateGroup(const std::wstring& name) const;
    void RenameGroup(const std::wstring& from, const std::wstring& to) const;
    void EraseGroup(const std::wstring& name) const;

    // A group's files, up to the most a group takes, with their positions;
    // the stored files past that come separately, so that they are written
    // back and never lost. Everything is read before anything changes; a
    // value that cannot be read keeps its default, and the first such error
    // is handed back.
    struct StoredFile {
        std::wstring Path;
        int View = 0;
    };
    struct LoadedFiles {
        std::vector<StoredFile> Files;
        std::vector<StoredFile> Beyond;
        std::exception_ptr Error;
    };
    LoadedFiles LoadFileList(const std::wstring& group) const;
    // Rewrites a group's "Count" and "Files"; "View" stays.
    void SaveFileList(const std::wstring& group, const std::vector<std::wstring>& paths) const;
    // One file's position (row 1 is the first file), and every file's.
    void SaveFileView(const std::wstring& group, int row, int position) const;
    void SaveFileViews(const std::wstring& group, const std::vector<int>& positions) const;
    // The text of the row just applied, as "files".
    void SaveAppliedFile(const std::wstring& text) const;

  private:
    // A group whose stored name was missing has no key of its own (its section
    // would be "FileList", every group's): writing it raises the registry's
    // creation error instead.
    static std::wstring OwnGroupSection(const std::wstring& group);
};
