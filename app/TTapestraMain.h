#pragma once
// The main window: the group tree and the file list that show the library,
// the preview, the menus, the toolbar, the tray icons and the commands
// behind them. The library and the options are its state; the controls only
// show them and report the user's choice.
#include "base/ProgramCommand.h"
#include "library/ChangePolicy.h"
#include "library/LibraryStore.h"
#include "library/Options.h"
#include "library/PictureLibrary.h"
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
#include "wallpaper/DesktopLayout.h"
#include "wallpaper/PictureReader.h"
#include "wallpaper/Placement.h"
#include "wallpaper/TAll.h"
#include "wallpaper/TWallChanger.h"
#include "widgets/TAnimateForm.h"
#include "widgets/TCommandWindow.h"
#include "widgets/TCoolHint.h"
#include "widgets/TFileDrop.h"
#include "widgets/THotKeys.h"
#include "widgets/TMainCool.h"

#include <functional>
#include <random>
#include <string>
#include <vector>

class TTapestraMain : public TForm {
  public:
    explicit TTapestraMain(TComponent* owner);

    // The controls that show the library and the state, by their design names.
    TPanel *pnlTop = nullptr, *pnlImage = nullptr, *pnlLeft = nullptr, *pnlRight = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TAll* LoadPicture = nullptr;
    TTreeView* GroupTree = nullptr;
    TStringGrid* FileList = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    // The window-wide position (toolbar and tray) and the timer switch.
    TToolButton *cmdCenter = nullptr, *cmdTile = nullptr, *cmdFill = nullptr, *cmdFit = nullptr;
    TMenuItem *K6 = nullptr, *popBefor = nullptr, *popNext = nullptr, *popCenter = nullptr, *popTile = nullptr;
    TMenuItem *popFill = nullptr, *popFit = nullptr;
    TMenuItem *Pause1 = nullptr, *popPause = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    TTrayIcon* TrayIcon2 = nullptr;
    TTimer* Timer1 = nullptr;
    // Runs while a timed change waits for a full-screen program to end.
    TTimer* FullScreenTimer = nullptr;
    // Runs once after the monitors change, to compose the wallpaper again.
    TTimer* DisplayTimer = nullptr;
    TWallChanger* WallChanger1 = nullptr;
    // The options dialog, created once, when it is first asked for: the
    // main window comes up without waiting for it.
    TfrmOption& OptionDialog();

    LibraryStore Store;
    PictureLibrary Library{Store};
    ::Options Options;
    // Set by the exit command and the end of the session: closing then ends
    // the program instead of hiding the window.
    bool Exiting = false;

    // The end: the window state, the active group and row, the options the
    // program owns.
    void SaveSettings();
    // Confirmed options take effect: stored, then the timer, the clear icon
    // and the timer switch follow them.
    void ApplyOptions(const ::Options& confirmed);

    // Start-up and shutdown.
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void Exit1Click();

    // Group and file commands.
    void AddGroupClick();
    void RenameClick();
    void Delete1Click();
    void AddFilesClick();
    void FileDrop1FileDrop(const std::vector<std::wstring>& names);
    void FileDeleteClick();
    void FileListClick();
    void GroupTreeChange();

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
    void cmdFillClick();
    void cmdFitClick();
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

    // The one path of every command, whatever asks for it: the menus, the
    // toolbar and the tray call the handlers above, the hotkeys and the
    // command line this, which calls them too.
    void RunCommand(TProgramCommand command);
    // Runs a command once the message loop runs (the command line's).
    void RunCommandLater(TProgramCommand command);
    // The pause: the timer and the change at the end of the session change
    // nothing; a change the user asks for still works.
    void Pause1Click();
    void SetPaused(bool paused);
    // Whether another program fills a monitor in front now; tests replace it.
    std::function<bool()> FullScreenAhead;

    // The desktop's monitors now, the primary first; tests replace it.
    std::function<std::vector<DesktopMonitor>()> MonitorsNow;
    // Whether the system shows a bitmap of several monitors as a span.
    bool SpanShown = true;
    // The window-wide position: what "標準" stands for.
    TDisplayPosition WindowPosition() const { return windowPosition_; }

    // The row draw of the random change; tests may replace it.
    std::function<int(int lowest, int highest)> RandomRow;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    static constexpr wchar_t kTrayTip[] = L"Vintrel For Win95";
    // How often a waiting timed change looks whether the full screen is free.
    static constexpr unsigned kFullScreenPoll = 5000;
    // How long the monitors must stay as they are before the wallpaper is
    // composed for them again.
    static constexpr unsigned kDisplaySettle = 1500;
    // Messages to the window itself: say the hotkeys that were taken; run
    // the command of the command line.
    static constexpr UINT kSayHotKeysTaken = WM_APP + 1;
    static constexpr UINT kRunCommand = WM_APP + 2;

    // The design: every other component, by its design name.
    void CreateDesign();
    void CreateMenus();
    void CreateLook();
    void CreateToolBar();
    void CreatePanels();
    void CreatePopupMenus();
    void CreateTrayIcons();
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
    TToolButton *cmdStretch = nullptr, *cmdNon = nullptr, *cmdBefor = nullptr, *cmdAfter = nullptr,
                *cmdRandom = nullptr, *ToolButton5 = nullptr, *cmdHelp = nullptr;
    TPanel* pnlPicture = nullptr;
    TSplitter *Splitter1 = nullptr, *Splitter2 = nullptr;
    TPopupMenu *PopupMenu1 = nullptr, *PopupMenu2 = nullptr, *PopupMenu3 = nullptr;
    TMenuItem *KS1 = nullptr, *Help3 = nullptr, *K2 = nullptr, *popRandom = nullptr, *Kt1 = nullptr,
              *popStretch = nullptr, *KC1 = nullptr, *Windows1 = nullptr, *N10 = nullptr, *N12 = nullptr,
              *Exit2 = nullptr;
    TFileDrop* FileDrop1 = nullptr;
    THotKeys* HotKeys1 = nullptr;
    TCommandWindow* CommandWindow1 = nullptr;
    // The hidden image the version dialog shows: the program's icon.
    TPicture Image1;
    TfrmOption* frmOption = nullptr;

    // Start-up, in its order.
    void LoadGeometry();
    void ShowGroupList();
    void SelectStartRow();
    void ShowOrHide();
    // Sets Timer1 from the interval and the timed-change switch.
    void SetTimerFromOptions();
    // Registers the hotkeys of the options in place of the ones held;
    // returns the keys another program holds.
    std::vector<THotKeyBinding> RegisterHotKeys();
    void ShowPaused();

    // The tree and the list show the library.
    void ShowFileList();
    // A change of the shown group's files, then the list shows it.
    void ChangeFiles(const std::function<Refusal()>& change);
    int SelectedGroup() const;
    // True when a group (not the root) is selected; says so otherwise.
    bool GroupSelected(bool rootAllowed);
    void pnlLeftResize();
    void pnlRightResize();
    void pnlTopResize();
    // Loads a file into the preview and remembers it as the preview's file.
    void ShowPreview(const std::wstring& path);
    // A file read upright and opaque at the size chosen from its own; a
    // failure is reported in the preview, and the picture is then empty.
    DecodedPicture ReadShown(const std::wstring& path, const DecodeSize& size);
    // The picture, shrunk to the preview's size, shown as the file's.
    void ShowInPreview(const std::wstring& path, const DecodedPicture& picture);

    // Previous, next and random: choose the row, select it, apply it.
    void ChangeBy(TChange change);
    void ChangeTo(const std::function<int(int row, int rows)>& choose);
    // The change of the option "変更方法": the timer's, the end of the session's.
    void ChangeByMethod();
    void FullScreenTimerTimer();
    void SetWindowPosition(TDisplayPosition position);
    void SetTrayMode(TTrayMode mode);
    // A row applied (row 0 clears), then the timer restarted, the row
    // recorded and the program of the options run. In "ﾓﾆﾀｰごとに別の壁紙"
    // the monitors after the primary get the rows `choose` gives, each from
    // the one before.
    void ApplyRow(int row, const std::function<int(int row, int rows)>& choose);
    std::vector<int> MonitorRows(int row, size_t monitors, const std::function<int(int row, int rows)>& choose);
    // The row's wallpaper written and shown; false when it did not load.
    bool RowsApplied(int row, const std::function<int(int row, int rows)>& choose, StepTrace& trace);
    // The files (the primary's first) read at the size their positions need
    // on these monitors, composed and shown; false when the primary's did
    // not load.
    bool PicturesApplied(const std::vector<std::wstring>& files, const std::vector<TDisplayPosition>& positions,
                         const std::vector<DesktopMonitor>& monitors, bool showInPreview,
                         StepTrace* trace = nullptr);
    // The position a file of the shown group takes; the window-wide one for
    // a file it does not have.
    TDisplayPosition PositionOfFile(const std::wstring& path) const;
    // A row's own position, or the window-wide one for "標準".
    TDisplayPosition PositionOfRow(int row) const;
    // After the monitors or the monitor mode change: the wallpaper shown
    // composed again for the desktop as it is now, with the same pictures.
    void DisplayTimerTimer();
    void ComposeAgain(const std::vector<DesktopMonitor>& monitors);
    void RestartTimer();
    void RunAutoFile(int row);

    // Where the start's time goes, for the benchmarks; off unless asked for.
    StepTrace startTrace_{L"start", true};
    std::mt19937 random_;
    // The toolbar's position: what "標準" stands for.
    TDisplayPosition windowPosition_ = TDisplayPosition::Centred;
    // The file the preview was last asked to show, loaded or not.
    std::wstring previewFile_;
    // Set while a change selects its row: the change reads the picture once,
    // for the wallpaper and the preview together.
    bool selectingForChange_ = false;
    // The rows last applied (the primary's first) and the monitors they were
    // composed for.
    std::vector<std::wstring> appliedFiles_;
    std::vector<DesktopMonitor> appliedMonitors_;
    // The keys another program held at start-up, said once the window is up.
    std::wstring hotKeysTaken_;
};
