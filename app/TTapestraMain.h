#pragma once
// The main window: the group tree, the file list, the preview area, the menus
// and the commands behind them, and the program's settings and library in the
// registry.
#include "framework/Controls.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/TStringGrid.h"
#include "framework/TTreeView.h"
#include "wallpaper/TWallChanger.h"

#include <string>
#include <vector>

class TTapestraMain : public TForm {
  public:
    explicit TTapestraMain(TComponent* owner);

    // Components, by their design names.
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    TPanel* pnlTop = nullptr;
    TPanel* pnlImage = nullptr;
    TPanel* pnlLeft = nullptr;
    TPanel* pnlRight = nullptr;
    TTreeView* GroupTree = nullptr;
    TStringGrid* FileList = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TTimer* Timer1 = nullptr;
    TWallChanger* WallChanger1 = nullptr;

    // Library state.
    std::vector<int> FileViews;
    int ActiveGroup = -1;
    int ActiveFile = 0;
    std::wstring CurrentFile;
    bool Exiting = false;

    // Options.
    int CenterTiles = 0;
    int ChangeAtShutdown = 0;
    int TrayMode = 0;
    int StartHidden = 0;
    int IntervalMinutes = 10;
    int TimedChange = 0;
    int ChangeMethod = 1;
    int ClearIcon = 1;
    int XPos = 0;
    int YPos = 0;
    bool Move = false;
    bool AutoRun = false;
    std::wstring AutoFile;

    // Settings and library store.
    void LoadSettings();
    void SaveSettings();
    void SaveGroupList();
    void LoadFileList();
    void SaveFileList();
    // The registry section of the selected group's file list.
    std::wstring SelectedGroupSection() const;
    // The display position of a row (0 for rows beyond the table).
    int FileView(int row) const;
    void SetFileView(int row, int position);

    // Start-up and shutdown.
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void Exit1Click();
    // Hides the window and the program's taskbar button; the program stays in the tray.
    void HideToTray();
    // Sets Timer1 from IntervalMinutes and TimedChange.
    void SetTimerFromOptions();

    // Views.
    void GroupTreeChange();
    void FileListClick();
    void pnlLeftResize();
    void pnlRightResize();
    void pnlTopResize();

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void CreateDesign();
    void LoadGroupList();
    void SelectStartRow();
    void ShowOrHide();
};
