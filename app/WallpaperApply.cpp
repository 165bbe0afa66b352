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

namespace {
enum Position { Standard = 0, Centred = 1, Tiled = 2, Stretched = 3 };
} // namespace

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
        TileStart start = FirstTile(screen.cx, screen.cy, picture.Width(), picture.Height(), CenterTiles == 1,
                                    Move, XPos, YPos);
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
        int position = RadioGroup1->ItemIndex();
        bool tiled = false;
        switch (position) {
        case Standard:
            WallChanger1->Tiling = cmdTile->Down();
            WallChanger1->Stretch = cmdStretch->Down();
            tiled = cmdTile->Down();
            break;
        case Centred:
            WallChanger1->Tiling = false, WallChanger1->Stretch = false;
            break;
        case Tiled:
            WallChanger1->Tiling = true, WallChanger1->Stretch = false;
            tiled = true;
            break;
        case Stretched:
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
    if (row != 0 && AutoRun && !Exiting && !AutoFile.empty()) {
        // Quoted, so a path with blanks cannot start another program.
        std::wstring command = L"\"" + AutoFile + L"\"";
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
    switch (ChangeMethod) {
    case 1:
        cmdBeforClick();
        break;
    case 2:
        cmdAfterClick();
        break;
    case 3:
        cmdRandomClick();
        break;
    }
}

void TTapestraMain::SetWindowPosition(int position) {
    cmdCenter->SetDown(position == Centred);
    cmdTile->SetDown(position == Tiled);
    cmdStretch->SetDown(position == Stretched);
    popCenter->SetChecked(position == Centred);
    popTile->SetChecked(position == Tiled);
    popStretch->SetChecked(position == Stretched);
}

void TTapestraMain::cmdCenterClick() {
    SetWindowPosition(Centred);
}
void TTapestraMain::cmdTileClick() {
    SetWindowPosition(Tiled);
}
void TTapestraMain::cmdStretchClick() {
    SetWindowPosition(Stretched);
}

void TTapestraMain::RadioGroup1Click() {
    int row = FileList->Row();
    SetFileView(row, RadioGroup1->ItemIndex());
    TRegIniFile(HKEY_CURRENT_USER, kProgramKey)
        .WriteInteger(OwnGroupSection() + L"\\View", L"File" + IntToText(row), RadioGroup1->ItemIndex());
}

void TTapestraMain::SetTrayMode(int mode) {
    TrayMode = mode;
    popBefor->SetChecked(mode == 0);
    popNext->SetChecked(mode == 1);
    popRandom->SetChecked(mode == 2);
}

void TTapestraMain::popBeforClick() {
    SetTrayMode(0);
}
void TTapestraMain::popNextClick() {
    SetTrayMode(1);
}
void TTapestraMain::popRandomClick() {
    SetTrayMode(2);
}
