// Applying a file of the list as the wallpaper, and the changes around it:
// previous, next, random, clear, the timer, the display positions.
#include "app/ChangePolicy.h"
#include "app/ProgramPaths.h"
#include "app/SafeFileWrite.h"
#include "app/StoreNames.h"
#include "app/TTapestraMain.h"
#include "app/TileComposer.h"
#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/TApplication.h"
#include "framework/TPicture.h"
#include "framework/TRegIniFile.h"
#include "framework/Text.h"

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
        TileStart start = FirstTile(screen.cx, screen.cy, picture.Width(), picture.Height(), Options.CenterTiles,
                                    Options.Move, Options.XPos, Options.YPos);
        WriteTiledBitmap(picture, start, screen.cx, screen.cy, path);
    });
}

void TTapestraMain::FileListDblClick() {
    BusyCursorScope busy;
    int row = FileList->Row();
    // After a group switch the highlighted row may not be the preview's file.
    if (row != 0 && previewFile_ != FileList->Cell(row)) FileListClick();
    if (row == 0) {
        WallChanger1->WallpaperName.clear();
    } else {
        // A picture that did not load leaves the wallpaper as it is.
        const TPicture& picture = LoadPicture->Picture();
        if (picture.Empty() || picture.Width() <= 0 || picture.Height() <= 0) return;
        auto position = static_cast<TDisplayPosition>(RadioGroup1->ItemIndex());
        bool tiled = false;
        switch (position) {
        case TDisplayPosition::Standard:
            WallChanger1->Tiling = cmdTile->Down();
            WallChanger1->Stretch = cmdStretch->Down();
            tiled = cmdTile->Down();
            break;
        case TDisplayPosition::Centred:
            WallChanger1->Tiling = false, WallChanger1->Stretch = false;
            break;
        case TDisplayPosition::Tiled:
            WallChanger1->Tiling = true, WallChanger1->Stretch = false;
            tiled = true;
            break;
        case TDisplayPosition::Stretched:
            WallChanger1->Tiling = false, WallChanger1->Stretch = true;
            break;
        default:
            WallChanger1->Tiling = false, WallChanger1->Stretch = false;
            break;
        }
        WritePicture(tiled);
        WallChanger1->WallpaperName = WallpaperBitmapPath();
    }

    if (WallChanger1->WallpaperName.empty())
        TWallChanger::ClearWallpaper();
    else
        WallChanger1->Apply();

    if (Timer1->Enabled()) {
        Timer1->SetEnabled(false);
        Timer1->SetEnabled(true);
    }
    TRegIniFile(HKEY_CURRENT_USER, kProgramKey).WriteString(kSettingsSection, L"files", FileList->Cell(row));
    HTREEITEM selected = GroupTree->Selected();
    ActiveGroup = selected ? GroupTree->AbsoluteIndex(selected) : 0;
    ActiveFile = row;
    if (row != 0 && Options.AutoRun && !Exiting && !Options.AutoFile.empty()) {
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
}

void TTapestraMain::ChangeTo(const std::function<int(int row, int rows)>& choose) {
    int row = FileList->Row(), rows = FileList->RowCount();
    if (rows <= 1) return;
    BusyCursorScope busy;
    int target = choose(row, rows);
    // Selecting another row runs FileListClick already; one load per change.
    if (target != row)
        FileList->SetRow(target);
    else
        FileListClick();
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
    SetFileView(row, RadioGroup1->ItemIndex());
    TRegIniFile(HKEY_CURRENT_USER, kProgramKey)
        .WriteInteger(OwnGroupSection() + L"\\View", L"File" + IntToText(row), RadioGroup1->ItemIndex());
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
