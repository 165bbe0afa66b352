// The main window's life: what it does while it is created, how it hides into
// the tray instead of closing, and how the program ends.
#include "app/TTapestraMain.h"

#include "app/StoreNames.h"
#include "framework/TApplication.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {
// The largest interval whose milliseconds fit a signed 32-bit count.
constexpr int kMaxIntervalMinutes = 35791;
} // namespace

void TTapestraMain::FormCreate() {
    BusyCursorScope busy;
    Exiting = false;
    std::srand(static_cast<unsigned>(std::time(nullptr)));

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
    SelectStartRow();

    StatusBar1->SetSimpleText(CurrentFile);
    SetTimerFromOptions();
    ShowOrHide();
}

void TTapestraMain::SelectStartRow() {
    if (ActiveFile == 0 && !CurrentFile.empty() && CurrentFile != kNoneRow && FileList->RowCount() > 1) {
        // The last matching row wins.
        for (int row = 1; row < FileList->RowCount(); ++row)
            if (FileList->Cell(row) == CurrentFile) FileList->SetRow(row);
        return;
    }
    // A stored row that the group does not have selects row 0.
    FileList->SetRow(ActiveFile >= 0 && ActiveFile < FileList->RowCount() ? ActiveFile : 0);
}

void TTapestraMain::SetTimerFromOptions() {
    int minutes = std::clamp(IntervalMinutes, 0, kMaxIntervalMinutes);
    Timer1->SetInterval(static_cast<unsigned>(minutes) * 60000u);
    Timer1->SetEnabled(TimedChange == 1);
}

void TTapestraMain::ShowOrHide() {
    if (StartHidden == 1) {
        ShowWindow(Application->Handle(), SW_HIDE);
        Hide();
    } else {
        ShowWindow(Application->Handle(), SW_SHOW);
        Show();
    }
}

void TTapestraMain::HideToTray() {
    ShowWindow(Application->Handle(), SW_HIDE);
    Hide();
}

void TTapestraMain::FormCloseQuery(bool& canClose) {
    if (Exiting) {
        canClose = true;
        return;
    }
    canClose = false;
    HideToTray();
}

void TTapestraMain::FormClose() {
    SaveSettings();
}

void TTapestraMain::Exit1Click() {
    Exiting = true;
    Close();
}

void TTapestraMain::GroupTreeChange() {
    LoadFileList();
}

void TTapestraMain::FileListClick() {
    StatusBar1->SetSimpleText(FileList->Cell(FileList->Row()));
}

void TTapestraMain::pnlLeftResize() {
    GroupTree->SetBounds(GroupTree->Left(), GroupTree->Top(), pnlLeft->Width() - 8, pnlLeft->Height() - 8);
}

void TTapestraMain::pnlRightResize() {
    FileList->SetBounds(FileList->Left(), FileList->Top(), pnlRight->Width() - 8, pnlRight->Height() - 8);
}

void TTapestraMain::pnlTopResize() {
    pnlImage->SetBounds((pnlTop->Width() - pnlImage->Width()) / 2,
                        (pnlTop->Height() - pnlImage->Height()) / 2, pnlImage->Width(), pnlImage->Height());
}

LRESULT TTapestraMain::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_QUERYENDSESSION:
        Exiting = true;
        return 1;
    case WM_ENDSESSION:
        SaveSettings();
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}
