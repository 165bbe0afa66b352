#pragma once
// The main window: the group tree, the file list, the preview area, the menus,
// the toolbar and the commands behind them. Its state is the options and the
// library store; the handlers keep their design names and hand the work on.
#include "app/LibraryStore.h"
#include "app/Options.h"
#include "framework/Controls.h"
#include "framework/StepTrace.h"
#include "framework/TForm.h"
#include "framework/TImageList.h"
#include "framework/TMenu.h"
#include "framework/TRadioGroup.h"
#include "framework/TSplitter.h"
#include "framework/TStringGrid.h"
#include "framework/TToolBar.h"
#include "framework/TTreeView.h"
#include "options/TfrmOption.h"
#include "tray/TTrayIcon.h"
#include "wallpaper/TAll.h"
#include "wallpaper/TWallChanger.h"
#include "widgets/TAnimateForm.h"
#include "widgets/TCoolHint.h"
#include "widgets/TFileDrop.h"
#include "widgets/TMainCool.h"

#include <functional>
#include <random>
#include <string>
#include <vector>

class TTapestraMain : public TForm {
  public:
    explicit TTapestraMain(TComponent* owner);

    // Components, by their design names.
    TImageList* ImageList1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem *File1 = nullptr, *Group1 = nullptr, *AddGroup1 = nullptr, *Delete1 = nullptr,
              *Rename1 = nullptr;
    TMenuItem *Files1 = nullptr, *AddFiles1 = nullptr, *FileDelete1 = nullptr, *Exit1 = nullptr;
    TMenuItem *Change1 = nullptr, *N3 = nullptr, *A1 = nullptr, *N4 = nullptr, *C1 = nullptr;
    TMenuItem *Option1 = nullptr, *Option2 = nullptr, *Help1 = nullptr, *Contents1 = nullptr, *A2 = nullptr;
    TMenuItem* N1 = nullptr;
    TMainCool* MainCool1 = nullptr;
    TCoolHint* CoolHint1 = nullptr;
    TAnimateForm* AnimateForm1 = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton *ToolButton1 = nullptr, *ToolButton6 = nullptr, *ToolButton3 = nullptr;
    TToolButton *cmdCenter = nullptr, *cmdTile = nullptr, *cmdStretch = nullptr, *cmdNon = nullptr;
    TToolButton *cmdBefor = nullptr, *cmdAfter = nullptr, *cmdRandom = nullptr, *ToolButton5 = nullptr;
    TToolButton* cmdHelp = nullptr;
    TPanel* pnlTop = nullptr;
    TPanel* pnlImage = nullptr;
    TPanel* pnlPicture = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TAll* LoadPicture = nullptr;
    TSplitter* Splitter1 = nullptr;
    TPanel* pnlLeft = nullptr;
    TSplitter* Splitter2 = nullptr;
    TPanel* pnlRight = nullptr;
    TTreeView* GroupTree = nullptr;
    TStringGrid* FileList = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TPopupMenu* PopupMenu2 = nullptr;
    TPopupMenu* PopupMenu3 = nullptr;
    TMenuItem *KS1 = nullptr, *Help3 = nullptr, *K6 = nullptr, *K2 = nullptr, *popBefor = nullptr;
    TMenuItem *popNext = nullptr, *popRandom = nullptr, *Kt1 = nullptr, *popCenter = nullptr,
              *popTile = nullptr;
    TMenuItem *popStretch = nullptr, *KC1 = nullptr, *Windows1 = nullptr, *N10 = nullptr, *N12 = nullptr;
    TMenuItem* Exit2 = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    TTrayIcon* TrayIcon2 = nullptr;
    TFileDrop* FileDrop1 = nullptr;
    TTimer* Timer1 = nullptr;
    TWallChanger* WallChanger1 = nullptr;
    // The hidden image the version dialog shows: the program's icon.
    TPicture Image1;
    // The options dialog, created once, when it is first asked for: the
    // main window comes up without waiting for it.
    TfrmOption* frmOption = nullptr;
    TfrmOption& OptionDialog();

    // The library: positions per row, active group and file, in the registry.
    LibraryStore Library;
    // Options.
    ::Options Options;
    // Set by the exit command and the end of the session: closing then ends
    // the program instead of hiding the window.
    bool Exiting = false;

    // Between the store and the controls.
    void LoadSettings();
    void SaveSettings();
    void SaveGroupList();
    void LoadFileList();
    void SaveFileList();

    // Start-up and shutdown.
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void Exit1Click();
    // Sets Timer1 from the interval and the timed-change switch.
    void SetTimerFromOptions();

    // Group and file commands.
    void AddGroupClick();
    void RenameClick();
    void Delete1Click();
    void AddFilesClick();
    void FileDrop1FileDrop(const std::vector<std::wstring>& names);
    void FileDeleteClick();
    void FileListClick();
    void GroupTreeChange();
    void pnlLeftResize();
    void pnlRightResize();
    void pnlTopResize();

    // Applying and changing the wallpaper.
    void FileListDblClick();
    void cmdBeforClick();
    void cmdAfterClick();
    void cmdRandomClick();
    void cmdNonClick();
    void Timer1Timer();
    void cmdCenterClick();
    void cmdTileClick();
    void cmdStretchClick();
    void RadioGroup1Click();
    void popBeforClick();
    void popNextClick();
    void popRandomClick();
    // Where every wallpaper is written: the program's path with ".BMP".
    static std::wstring WallpaperBitmapPath();

    // Window and tray commands.
    void ToolButton1Click();
    void KS1Click();
    void ToolButton5Click();
    void Contents1Click();
    void K6Click();
    void Option2Click();
    void TrayIcon1DblClick();
    void N10Click();
    void N12Click();
    void A2Click();

    // The row draw of the random change; tests may replace it.
    std::function<int(int lowest, int highest)> RandomRow;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void CreateDesign();
    void CreateMenus();
    void CreateLook();
    void CreateToolBar();
    void CreatePanels();
    void CreatePopupMenus();
    void CreateTrayIcons();
    void LoadGroupList();
    void LoadGeometry();
    // The selected group's name; empty when no group is selected.
    std::wstring SelectedGroupName() const;
    void SelectStartRow();
    void ShowOrHide();
    void SetWindowPosition(TDisplayPosition position);
    void SetTrayMode(TTrayMode mode);
    // Previous, next and random: choose the row, select it, apply it.
    void ChangeTo(const std::function<int(int row, int rows)>& choose);
    // The steps of FileListDblClick, in its order.
    // The row's picture placed and written as the wallpaper bitmap; false
    // when it did not load.
    bool PictureWritten(int row);
    void WritePicture(bool tiled);
    void ShowOnDesktop();
    void RestartTimer();
    void RememberApplied(int row);
    void RunAutoFile(int row);
    // Why a group name cannot be used, or empty when it can.
    std::wstring GroupNameRefusal(const std::wstring& name) const;
    // True when a group (not the root) is selected; says so otherwise.
    bool GroupSelected(bool rootAllowed);
    // Loads a file into the preview and remembers it as the preview's file.
    void ShowPreview(const std::wstring& path);

    // Where the start's time goes, for the benchmarks; off unless asked for.
    StepTrace startTrace_{L"start", true};
    std::mt19937 random_;
    // The file the preview was last asked to show, loaded or not.
    std::wstring previewFile_;
};
