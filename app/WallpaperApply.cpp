// Applying a file of the list as the wallpaper, and the changes around it:
// previous, next, random, clear, the timer, the display positions.
#include "app/ProgramPaths.h"
#include "app/TTapestraMain.h"
#include "framework/TApplication.h"
#include "framework/TPicture.h"
#include "library/ChangePolicy.h"
#include "wallpaper/ApplyStep.h"
#include "wallpaper/TileComposer.h"

std::wstring TTapestraMain::WallpaperBitmapPath() {
    return ProgramPathWithExtension(L".BMP");
}

void TTapestraMain::FileListDblClick() {
    BusyCursorScope busy;
    StepTrace trace(L"apply");
    const int row = FileList->Row();
    if (row == 0)
        ClearDesktop(*WallChanger1);
    else if (!PictureApplied(row))
        return;
    trace.Step(L"bitmap written, desktop");
    RestartTimer();
    Library.Applied(row);
    RunAutoFile(row);
    trace.Step(L"registry, auto-run");
}

bool TTapestraMain::PictureApplied(int row) {
    // After a group switch the highlighted row may not be the preview's file.
    if (previewFile_ != Library.Row(row)) FileListClick();
    // A picture that did not load leaves the wallpaper as it is.
    const TPicture& picture = LoadPicture->Picture();
    if (picture.Empty() || picture.Width() <= 0 || picture.Height() <= 0) return false;
    WallpaperRequest request;
    request.BitmapPath = WallpaperBitmapPath();
    request.Placement = PlacementOf(static_cast<TDisplayPosition>(Library.FileView(row)),
                                    PlacementOf(windowPosition_, Placement{}));
    request.Tiles = TileOptions{Options.CenterTiles, Options.Move, Options.XPos, Options.YPos};
    request.Screen = WallpaperScreenSize();
    ApplyPicture(*WallChanger1, picture, request);
    return true;
}

void TTapestraMain::RestartTimer() {
    if (Timer1->Enabled()) {
        Timer1->SetEnabled(false);
        Timer1->SetEnabled(true);
    }
}

void TTapestraMain::RunAutoFile(int row) {
    if (row == 0 || !Options.AutoRun || Exiting || Options.AutoFile.empty()) return;
    // Quoted, so a path with blanks cannot start another program.
    std::wstring command = L"\"" + Options.AutoFile + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void TTapestraMain::ChangeTo(const std::function<int(int row, int rows)>& choose) {
    int row = FileList->Row(), rows = Library.RowCount();
    if (rows <= 1) return;
    BusyCursorScope busy;
    StepTrace trace(L"change");
    int target = choose(row, rows);
    // Selecting another row runs FileListClick already; one load per change.
    if (target != row)
        FileList->SetRow(target);
    else
        FileListClick();
    trace.Step(L"row selected, picture loaded");
    FileListDblClick();
}

void TTapestraMain::ChangeBy(TChange change) {
    switch (change) {
    case TChange::Previous:
        ChangeTo(PreviousRow);
        break;
    case TChange::Next:
        ChangeTo(NextRow);
        break;
    case TChange::Random:
        ChangeTo([this](int row, int rows) { return PickRandomRow(row, rows, RandomRow); });
        break;
    }
}

void TTapestraMain::cmdBeforClick() {
    ChangeBy(TChange::Previous);
}
void TTapestraMain::cmdAfterClick() {
    ChangeBy(TChange::Next);
}
void TTapestraMain::cmdRandomClick() {
    ChangeBy(TChange::Random);
}

void TTapestraMain::cmdNonClick() {
    FileList->SetRow(0);
    FileListDblClick();
}

void TTapestraMain::Timer1Timer() {
    // Stored methods outside 1 to 3 change nothing.
    if (std::optional<TChange> change = ChangeOf(Options.ChangeMethod)) ChangeBy(*change);
}

void TTapestraMain::SetWindowPosition(TDisplayPosition position) {
    windowPosition_ = position;
    cmdCenter->SetDown(position == TDisplayPosition::Centred);
    cmdTile->SetDown(position == TDisplayPosition::Tiled);
    cmdStretch->SetDown(position == TDisplayPosition::Stretched);
    popCenter->SetChecked(position == TDisplayPosition::Centred);
    popTile->SetChecked(position == TDisplayPosition::Tiled);
    popStretch->SetChecked(position == TDisplayPosition::Stretched);
}

void TTapestraMain::cmdCenterClick() {
    SetWindowPosition(TDisplayPosition::Centred);
}
void TTapestraMain::cmdTileClick() {
    SetWindowPosition(TDisplayPosition::Tiled);
}
void TTapestraMain::cmdStretchClick() {
    SetWindowPosition(TDisplayPosition::Stretched);
}

void TTapestraMain::RadioGroup1Click() {
    Library.SetFileView(FileList->Row(), RadioGroup1->ItemIndex());
}

void TTapestraMain::SetTrayMode(TTrayMode mode) {
    Options.TrayMode = mode;
    popBefor->SetChecked(mode == TTrayMode::Previous);
    popNext->SetChecked(mode == TTrayMode::Next);
    popRandom->SetChecked(mode == TTrayMode::Random);
}

void TTapestraMain::popBeforClick() {
    SetTrayMode(TTrayMode::Previous);
}
void TTapestraMain::popNextClick() {
    SetTrayMode(TTrayMode::Next);
}
void TTapestraMain::popRandomClick() {
    SetTrayMode(TTrayMode::Random);
}
