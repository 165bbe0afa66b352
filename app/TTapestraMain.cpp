// The main window's life: what it does while it is created, how it hides into
// the tray instead of closing, and how the program ends.
#include "app/TTapestraMain.h"

#include "app/WindowGeometry.h"
#include "library/StoreNames.h"
#include "framework/Exception.h"
#include "framework/TApplication.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace {
// The largest interval whose milliseconds fit a signed 32-bit count.
constexpr int kMaxIntervalMinutes = 35791;
} // namespace

void TTapestraMain::FormCreate() {
    BusyCursorScope busy;
    Exiting = false;
    random_.seed(static_cast<unsigned>(std::time(nullptr)));

    bool desktopRead = false;
    try {
        desktopRead = WallChanger1->ReadDesktopSettings();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
    if (!desktopRead) Application->ModalUI().ShowMessage(L"壁紙情報の取得に失敗しました。");
    startTrace_.Step(L"desktop settings");

    Library.LoadSettings(Options);
    startTrace_.Step(L"options");
    LoadGeometry();
    startTrace_.Step(L"geometry");
    ShowGroupList();
    startTrace_.Step(L"group tree");

    if (Library.ActiveGroup != -1) {
        // A stored index that names no node selects nothing.
        if (HTREEITEM node = GroupTree->ItemAt(Library.ActiveGroup)) GroupTree->Select(node);
    }
    startTrace_.Step(L"active group's file list");
    // A picture that cannot be read is reported; the window still comes up.
    Guarded([this] { SelectStartRow(); });
    startTrace_.Step(L"start row, its picture");

    // The window-wide position follows the desktop as Windows has it; fill,
    // fit and several monitors, which it sees as tiles or a span, come back
    // from the record written with them.
    const DesktopShown shown{WallChanger1->Tiling, WallChanger1->Stretch, WallChanger1->Span};
    if (std::optional<TDisplayPosition> recorded = RecordedPosition(Options.WallpaperPosition, shown))
        SetWindowPosition(*recorded);
    else if (WallChanger1->Stretch)
        SetWindowPosition(TDisplayPosition::Stretched);
    else if (WallChanger1->Tiling)
        SetWindowPosition(TDisplayPosition::Tiled);
    else
        SetWindowPosition(TDisplayPosition::Centred);

    StatusBar1->SetSimpleText(Library.CurrentFile);
    SetTimerFromOptions();
    // At logon the task bar may not take icons yet: the icon stays visible
    // and is added as soon as it does.
    try {
        TrayIcon2->SetVisible(Options.ClearIcon);
    } catch (const Exception&) {
    }
    SetTrayMode(Options.TrayMode);
    ShowPaused();
    if (std::vector<THotKeyBinding> taken = RegisterHotKeys(); !taken.empty()) {
        // The start goes on; the message comes once the window is up.
        hotKeysTaken_ = HotKeysTakenMessage(taken);
        PostMessageW(Handle(), kSayHotKeysTaken, 0, 0);
    }
    startTrace_.Step(L"timer, tray mode, hotkeys");
    ShowOrHide();
    startTrace_.Step(L"show");
    // Loaded (or reported) already when the start row is this file.
    if (!Library.CurrentFile.empty() && Library.CurrentFile != kNoneRow &&
        previewFile_ != Library.CurrentFile)
        Guarded([this] { ShowPreview(Library.CurrentFile); });
}

void TTapestraMain::SelectStartRow() {
    if (Library.ActiveFile == 0 && !Library.CurrentFile.empty() && Library.CurrentFile != kNoneRow &&
        Library.RowCount() > 1) {
        // The last matching row wins; selecting only that one ends the same.
        for (int row = Library.RowCount() - 1; row >= 1; --row)
            if (Library.Row(row) == Library.CurrentFile) {
                FileList->SetRow(row);
                break;
            }
        return;
    }
    // A stored row that the group does not have selects row 0.
    FileList->SetRow(Library.ActiveFile >= 0 && Library.ActiveFile < Library.RowCount() ? Library.ActiveFile
                                                                                        : 0);
}

void TTapestraMain::ApplyOptions(const ::Options& confirmed) {
    const bool newMonitorMode = confirmed.MonitorMode != Options.MonitorMode;
    Options = confirmed;
    // A failed write is reported and the rest waits for the next confirm.
    Store.SaveOptions(Options);
    TrayIcon2->SetVisible(Options.ClearIcon);
    SetTimerFromOptions();
    K6->SetChecked(false);
    // The hotkeys are registered again once the dialog has closed.
    // The wallpaper shown follows a new monitor mode at once.
    if (newMonitorMode && MonitorsNow().size() > 1) {
        appliedMonitors_.clear();
        DisplayTimerTimer();
    }
}

void TTapestraMain::SetTimerFromOptions() {
    int minutes = std::clamp(Options.IntervalMinutes, 0, kMaxIntervalMinutes);
    Timer1->SetInterval(static_cast<unsigned>(minutes) * 60000u);
    Timer1->SetEnabled(Options.TimedChange);
    K6->SetEnabled(Options.TimedChange);
}

void TTapestraMain::ShowOrHide() {
    if (Options.StartHidden) {
        Application->Hide();
        Hide();
    } else {
        Application->Show(SW_SHOW);
        Show();
    }
}

void TTapestraMain::FormCloseQuery(bool& canClose) {
    if (Exiting) {
        canClose = true;
        return;
    }
    canClose = false;
    ToolButton1Click();
}

void TTapestraMain::FormClose() {
    // Reported, and the program ends all the same: the library is written
    // through already, and a retry would fail again and again.
    Guarded([this] { SaveSettings(); });
}

void TTapestraMain::RunCommandLater(TProgramCommand command) {
    PostMessageW(Handle(), kRunCommand, static_cast<WPARAM>(command), 0);
}

void TTapestraMain::Exit1Click() {
    Exiting = true;
    Close();
}

LRESULT TTapestraMain::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_QUERYENDSESSION:
        Exiting = true;
        return 1;
    case WM_ENDSESSION:
        // One last change, whether or not the timer runs; none while paused.
        if (Options.ChangeAtShutdown && !Options.Paused) Guarded([this] { ChangeByMethod(); });
        SaveSettings();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETWORKAREA) break;
        [[fallthrough]];
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // Monitors come and go in steps: compose once they have settled.
        DisplayTimer->SetEnabled(false);
        DisplayTimer->SetEnabled(true);
        break;
    case kSayHotKeysTaken:
        Guarded([this] { Application->ModalUI().ShowMessage(std::exchange(hotKeysTaken_, {})); });
        return 0;
    case kRunCommand:
        if (std::optional<TProgramCommand> command = CommandFromNumber(static_cast<std::uint32_t>(wParam)))
            Guarded([&] { RunCommand(*command); });
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

void TTapestraMain::LoadGeometry() {
    SIZE size = Store.LoadWindowSize();
    SetBounds(Left(), Top(), size.cx, size.cy);
    // The default position centres the window as it really is now.
    POINT origin = Store.LoadWindowOrigin(
        SIZE{Width(), Height()}, SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetBounds(origin.x, origin.y, Width(), Height());
    SIZE panels = Store.LoadPanelSizes();
    pnlTop->SetHeight(panels.cy);
    pnlLeft->SetWidth(panels.cx);
}

void TTapestraMain::ShowGroupList() {
    Library.LoadGroups();
    HTREEITEM root = GroupTree->Root();
    for (int group = 1; group <= Library.GroupCount(); ++group)
        GroupTree->AddChild(root, Library.GroupName(group), 0, 1);
    GroupTree->Expand(root);
}

void TTapestraMain::SaveSettings() {
    Options.WallpaperPosition =
        PositionRecord(windowPosition_, {WallChanger1->Tiling, WallChanger1->Stretch, WallChanger1->Span});
    // The normal-state rectangle, also while the window is minimised, in the
    // screen coordinates the start-up restores it in.
    Store.SaveSettings(Options, NormalScreenRect(Handle()), SIZE{pnlLeft->Width(), pnlTop->Height()},
                       Library.ActiveGroup, Library.ActiveFile);
}
