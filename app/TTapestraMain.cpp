// The main window's life: what it does while it is created, how it hides into
// the tray instead of closing, and how the program ends.
#include "app/TTapestraMain.h"

#include "app/StoreNames.h"
#include "framework/Exception.h"
#include "framework/TApplication.h"

#include <algorithm>
#include <ctime>

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

    LoadSettings();

    if (ActiveGroup != -1) {
        // A stored index that names no node selects nothing.
        if (HTREEITEM node = GroupTree->ItemAt(ActiveGroup)) GroupTree->Select(node);
    }
    // A picture that cannot be read is reported; the window still comes up.
    Guarded([this] { SelectStartRow(); });

    // The window-wide position follows the desktop as Windows has it.
    if (WallChanger1->Stretch)
        SetWindowPosition(TDisplayPosition::Stretched);
    else if (WallChanger1->Tiling)
        SetWindowPosition(TDisplayPosition::Tiled);
    else
        SetWindowPosition(TDisplayPosition::Centred);

    StatusBar1->SetSimpleText(CurrentFile);
    SetTimerFromOptions();
    // At logon the task bar may not take icons yet: the icon stays visible
    // and is added as soon as it does.
    try {
        TrayIcon2->SetVisible(Options.ClearIcon);
    } catch (const Exception&) {
    }
    SetTrayMode(Options.TrayMode);
    ShowOrHide();
    // Loaded (or reported) already when the start row is this file.
    if (!CurrentFile.empty() && CurrentFile != kNoneRow && previewFile_ != CurrentFile)
        Guarded([this] { ShowPreview(CurrentFile); });
}

void TTapestraMain::SelectStartRow() {
    if (ActiveFile == 0 && !CurrentFile.empty() && CurrentFile != kNoneRow && FileList->RowCount() > 1) {
        // The last matching row wins; selecting only that one ends the same.
        for (int row = FileList->RowCount() - 1; row >= 1; --row)
            if (FileList->Cell(row) == CurrentFile) {
                FileList->SetRow(row);
                break;
            }
        return;
    }
    // A stored row that the group does not have selects row 0.
    FileList->SetRow(ActiveFile >= 0 && ActiveFile < FileList->RowCount() ? ActiveFile : 0);
}

void TTapestraMain::SetTimerFromOptions() {
    int minutes = std::clamp(Options.IntervalMinutes, 0, kMaxIntervalMinutes);
    Timer1->SetInterval(static_cast<unsigned>(minutes) * 60000u);
    Timer1->SetEnabled(Options.TimedChange);
    K6->SetEnabled(Options.TimedChange);
}

void TTapestraMain::ShowOrHide() {
    if (Options.StartHidden) {
        ShowWindow(Application->Handle(), SW_HIDE);
        Hide();
    } else {
        ShowWindow(Application->Handle(), SW_SHOW);
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
        // One last change, whether or not the timer runs.
        if (Options.ChangeAtShutdown) Guarded([this] { Timer1Timer(); });
        SaveSettings();
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}
