// Applying a file of the list as the wallpaper, and the changes around it:
// previous, next, random, clear, the timer, the display positions.
#include "app/ProgramPaths.h"
#include "app/TTapestraMain.h"
#include "framework/TApplication.h"
#include "framework/TPicture.h"
#include "library/ChangePolicy.h"
#include "wallpaper/ApplyStep.h"
#include "library/StoreNames.h"

#include <algorithm>
#include <span>

std::wstring TTapestraMain::WallpaperBitmapPath() {
    return ProgramPathWithExtension(L".BMP");
}

void TTapestraMain::FileListDblClick() {
    ApplyRow(FileList->Row(), NextRow);
}

void TTapestraMain::ApplyRow(int row, const std::function<int(int row, int rows)>& choose) {
    BusyCursorScope busy;
    StepTrace trace(L"apply");
    if (row == 0) {
        ClearDesktop(*WallChanger1);
        appliedFiles_.clear();
    } else if (!RowsApplied(row, choose, trace)) {
        return;
    }
    trace.Step(L"bitmap written, desktop");
    RestartTimer();
    Library.Applied(row);
    RunAutoFile(row);
    trace.Step(L"registry, auto-run");
}

std::vector<int> TTapestraMain::MonitorRows(int row, size_t monitors,
                                            const std::function<int(int row, int rows)>& choose) {
    std::vector<int> rows{row};
    if (Options.MonitorMode != TMonitorMode::EachOwn) return rows;
    while (rows.size() < monitors && Library.RowCount() > 2)
        rows.push_back(choose(rows.back(), Library.RowCount()));
    return rows;
}

TDisplayPosition TTapestraMain::PositionOfRow(int row) const {
    return EffectivePosition(StoredPosition(Library.FileView(row)), windowPosition_);
}

TDisplayPosition TTapestraMain::PositionOfFile(const std::wstring& path) const {
    for (int row = 1; row < Library.RowCount(); ++row)
        if (Library.Row(row) == path) return PositionOfRow(row);
    return windowPosition_;
}

bool TTapestraMain::RowsApplied(int row, const std::function<int(int row, int rows)>& choose, StepTrace& trace) {
    const std::vector<DesktopMonitor> monitors = MonitorsNow();
    std::vector<std::wstring> files;
    std::vector<TDisplayPosition> positions;
    for (int each : MonitorRows(row, monitors.size(), choose)) {
        files.push_back(Library.Row(each));
        positions.push_back(PositionOfRow(each));
    }
    // A picture that failed in the preview has been reported already.
    if (previewFile_ == files.front() && LoadPicture->Error() != 0) return false;
    // After a group switch the highlighted row may show another file's position.
    RadioGroup1->SetItemIndex(static_cast<int>(StoredPosition(Library.FileView(row))));
    return PicturesApplied(files, positions, monitors, true, &trace);
}

bool TTapestraMain::PicturesApplied(const std::vector<std::wstring>& files,
                                    const std::vector<TDisplayPosition>& positions,
                                    const std::vector<DesktopMonitor>& monitors, bool showInPreview,
                                    StepTrace* trace) {
    if (monitors.empty() || files.empty()) return false;
    const TMonitorMode mode = monitors.size() > 1 ? Options.MonitorMode : TMonitorMode::Same;
    std::vector<DecodedPicture> pictures(files.size());
    // The other monitors' pictures first: the preview ends on the primary's.
    for (size_t i = files.size(); i-- > 0;) {
        std::span<const DesktopMonitor> areas(monitors);
        if (mode == TMonitorMode::EachOwn) areas = areas.subspan(std::min(i, monitors.size() - 1), 1);
        const TDisplayPosition position = positions[i];
        if (i == 0 && showInPreview) previewFile_ = files[i];
        pictures[i] = ReadShown(files[i], [&](PixelSize upright) {
            return DecodeSizeFor(upright, position, areas, mode);
        });
        if (trace) trace->Step(L"picture read");
        if (i == 0 && showInPreview) ShowInPreview(files[i], pictures[i]);
        if (trace) trace->Step(L"preview");
    }
    if (pictures.front().Empty()) return false;
    WallpaperRequest request;
    request.BitmapPath = WallpaperBitmapPath();
    request.Monitors = monitors;
    request.Mode = mode;
    for (size_t i = 0; i < pictures.size(); ++i)
        if (!pictures[i].Empty()) request.Pictures.push_back({&pictures[i], positions[i]});
    request.Tiles = TileOptions{Options.CenterTiles, Options.Move, Options.XPos, Options.YPos};
    request.Background = GetSysColor(COLOR_BACKGROUND);
    request.SpanShown = SpanShown;
    ApplyWallpaper(*WallChanger1, request);
    appliedFiles_ = files;
    appliedMonitors_ = monitors;
    return true;
}

void TTapestraMain::ComposeAgain(const std::vector<DesktopMonitor>& monitors) {
    std::vector<std::wstring> files = appliedFiles_;
    if (files.empty() && !Library.CurrentFile.empty() && Library.CurrentFile != kNoneRow)
        files.push_back(Library.CurrentFile);
    if (files.empty()) return;
    // Only a wallpaper of ours: one the user has set since stays as it is.
    WallChanger1->ReadDesktopSettings();
    if (CompareStringOrdinal(WallChanger1->WallpaperName.c_str(), -1, WallpaperBitmapPath().c_str(), -1, TRUE) !=
        CSTR_EQUAL)
        return;
    std::vector<TDisplayPosition> positions;
    for (const std::wstring& file : files)
        positions.push_back(PositionOfFile(file));
    BusyCursorScope busy;
    // A file our plug-ins do not read goes through the preview's loader: the
    // preview then shows its file again.
    const std::wstring shown = LoadPicture->PictureName();
    PicturesApplied(files, positions, monitors, false);
    if (!shown.empty() && LoadPicture->PictureName() != shown) ShowPreview(shown);
}

void TTapestraMain::DisplayTimerTimer() {
    DisplayTimer->SetEnabled(false);
    const std::vector<DesktopMonitor> monitors = MonitorsNow();
    auto same = [](const DesktopMonitor& a, const DesktopMonitor& b) {
        return EqualRect(&a.Rect, &b.Rect) && a.Primary == b.Primary;
    };
    if (!appliedMonitors_.empty() &&
        std::equal(monitors.begin(), monitors.end(), appliedMonitors_.begin(), appliedMonitors_.end(), same))
        return;
    ComposeAgain(monitors);
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
    int target = choose(row, rows);
    {
        // The change reads the picture once, for the wallpaper and the preview.
        selectingForChange_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{selectingForChange_};
        FileList->SetRow(target);
        if (target == row) FileListClick();
    }
    ApplyRow(target, choose);
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
        if (Options.NoRepeat)
            ChangeTo([this](int row, int) { return Library.NextShuffled(row, RandomRow); });
        else
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
    if (Options.Paused) return;
    // Over a game, a presentation or a video the change waits until it ends.
    if (Options.FullScreenWait && FullScreenAhead()) {
        FullScreenTimer->SetEnabled(true);
        return;
    }
    ChangeByMethod();
}

void TTapestraMain::FullScreenTimerTimer() {
    if (!Options.Paused && Options.FullScreenWait && FullScreenAhead()) return;
    FullScreenTimer->SetEnabled(false);
    if (!Options.Paused) ChangeByMethod();
}

void TTapestraMain::ChangeByMethod() {
    // Stored methods outside 1 to 3 change nothing.
    if (std::optional<TChange> change = ChangeOf(Options.ChangeMethod)) ChangeBy(*change);
}

void TTapestraMain::SetWindowPosition(TDisplayPosition position) {
    windowPosition_ = position;
    const std::pair<TToolButton*, TMenuItem*> controls[] = {
        {cmdCenter, popCenter}, {cmdTile, popTile}, {cmdStretch, popStretch}, {cmdFill, popFill}, {cmdFit, popFit}};
    for (size_t i = 0; i < std::size(controls); ++i) {
        const bool chosen = static_cast<size_t>(position) == i + 1;
        controls[i].first->SetDown(chosen);
        controls[i].second->SetChecked(chosen);
    }
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
void TTapestraMain::cmdFillClick() {
    SetWindowPosition(TDisplayPosition::Fill);
}
void TTapestraMain::cmdFitClick() {
    SetWindowPosition(TDisplayPosition::Fit);
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
