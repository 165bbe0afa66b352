// Applying a file of the list as the wallpaper, and the changes around it:
// previous, next, random, clear, the timer, the display positions.
#include "app/ChangePolicy.h"
#include "app/ProgramPaths.h"
#include "app/SafeFileWrite.h"
#include "app/TTapestraMain.h"
#include "app/TileComposer.h"
#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/TApplication.h"
#include "framework/TPicture.h"

std::wstring TTapestraMain::WallpaperBitmapPath() {
    return ProgramPathWithExtension(L".BMP");
}

void TTapestraMain::WritePicture(bool tiled) {
    const TPicture& picture = LoadPicture->Picture();
    // The desktop names this file: a write that fails must leave it whole.
    WriteReplacing(WallpaperBitmapPath(), [&](const std::wstring& path) {
        if (!tiled) {
            picture.SaveToFile(path);
            return;
        }
        const SIZE screen = WallpaperScreenSize();
        TileStart start = FirstTile(screen.cx, screen.cy, picture.Width(), picture.Height(),
                                    Options.CenterTiles, Options.Move, Options.XPos, Options.YPos);
        WriteTiledBitmap(picture, start, screen.cx, screen.cy, path);
    });
}

void TTapestraMain::FileListDblClick() {
    BusyCursorScope busy;
    StepTrace trace(L"apply");
    const int row = FileList->Row();
    if (row == 0)
        WallChanger1->WallpaperName.clear();
    else if (!PictureWritten(row))
        return;
    trace.Step(L"bitmap written");
    ShowOnDesktop();
    trace.Step(L"desktop");
    RestartTimer();
    RememberApplied(row);
    RunAutoFile(row);
    trace.Step(L"registry, auto-run");
}

bool TTapestraMain::PictureWritten(int row) {
    // After a group switch the highlighted row may not be the preview's file.
    if (previewFile_ != FileList->Cell(row)) FileListClick();
    // A picture that did not load leaves the wallpaper as it is.
    const TPicture& picture = LoadPicture->Picture();
    if (picture.Empty() || picture.Width() <= 0 || picture.Height() <= 0) return false;
    const Placement placement = PlacementOf(static_cast<TDisplayPosition>(RadioGroup1->ItemIndex()),
                                            Placement{cmdTile->Down(), cmdStretch->Down()});
    WallChanger1->Tiling = placement.Tiling;
    WallChanger1->Stretch = placement.Stretch;
    WritePicture(placement.Tiling);
    WallChanger1->WallpaperName = WallpaperBitmapPath();
    return true;
}

void TTapestraMain::ShowOnDesktop() {
    if (WallChanger1->WallpaperName.empty())
        TWallChanger::ClearWallpaper();
    else
        WallChanger1->Apply();
}

void TTapestraMain::RestartTimer() {
    if (Timer1->Enabled()) {
        Timer1->SetEnabled(false);
        Timer1->SetEnabled(true);
    }
}

void TTapestraMain::RememberApplied(int row) {
    Library.SaveAppliedFile(FileList->Cell(row));
    HTREEITEM selected = GroupTree->Selected();
    Library.ActiveGroup = selected ? GroupTree->AbsoluteIndex(selected) : 0;
    Library.ActiveFile = row;
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
    int row = FileList->Row(), rows = FileList->RowCount();
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

void TTapestraMain::cmdBeforClick() {
    ChangeTo(PreviousRow);
}
void TTapestraMain::cmdAfterClick() {
    ChangeTo(NextRow);
}
void TTapestraMain::cmdRandomClick() {
    ChangeTo([this](int row, int rows) { return PickRandomRow(row, rows, RandomRow); });
}

void TTapestraMain::cmdNonClick() {
    FileList->SetRow(0);
    FileListDblClick();
}

void TTapestraMain::Timer1Timer() {
    switch (Options.ChangeMethod) {
    case TChangeMethod::Previous:
        cmdBeforClick();
        break;
    case TChangeMethod::Next:
        cmdAfterClick();
        break;
    case TChangeMethod::Random:
        cmdRandomClick();
        break;
    }
}

void TTapestraMain::SetWindowPosition(TDisplayPosition position) {
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
    int row = FileList->Row();
    Library.SetFileView(row, RadioGroup1->ItemIndex());
    Library.SaveFileView(SelectedGroupName(), row, RadioGroup1->ItemIndex());
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
