#include "library/Options.h"

#include "library/SettingRead.h"
#include "library/StoreNames.h"
#include "framework/TRegIniFile.h"

namespace {
const wchar_t* const kHotKeyNames[hkCount] = {L"HotKeyNext", L"HotKeyPrev", L"HotKeyRandom", L"HotKeyClear",
                                              L"HotKeyPause"};

// A hotkey fits the control's 16 bits; anything else is none.
WORD HotKeyOf(int stored) {
    return stored > 0 && stored <= 0xFFFF ? static_cast<WORD>(stored) : 0;
}

TMonitorMode MonitorModeOf(int stored) {
    return stored == 1 || stored == 2 ? static_cast<TMonitorMode>(stored) : TMonitorMode::Same;
}
} // namespace

void Options::Load(const TRegIniFile& reg) {
    const std::wstring s = kSettingsSection;
    auto integer = [&](const wchar_t* ident, int def) {
        return [&reg, &s, ident, def] { return reg.ReadInteger(s, ident, def); };
    };
    // The switches are stored as integers and mean "on" only when they are 1.
    auto on = [&](const wchar_t* ident, int def) {
        return [&reg, &s, ident, def] { return reg.ReadInteger(s, ident, def) == 1; };
    };
    ReadInto(CenterTiles, on(L"中央表示", 0));
    ReadInto(ChangeAtShutdown, on(L"終了", 0));
    ReadInto(TrayMode, [&] { return static_cast<TTrayMode>(reg.ReadInteger(s, L"モード", 0)); });
    ReadInto(StartHidden, on(L"起動設定", 0));
    ReadInto(IntervalMinutes, integer(L"時間", 10));
    ReadInto(TimedChange, on(L"時間変更", 0));
    ReadInto(ChangeMethod, [&] { return static_cast<TChangeMethod>(reg.ReadInteger(s, L"変更方法", 1)); });
    ReadInto(ClearIcon, on(L"一発消去", 1));
    ReadInto(XPos, integer(L"XPos", 0));
    ReadInto(YPos, integer(L"YPos", 0));
    ReadInto(Move, [&] { return reg.ReadBool(s, L"Move", false); });
    ReadInto(AutoRun, [&] { return reg.ReadBool(s, L"自動実行", false); });
    ReadInto(AutoFile, [&] { return reg.ReadString(s, L"自動File", L""); });
    ReadInto(Paused, on(L"Pause", 0));
    ReadInto(NoRepeat, on(L"NoRepeat", 0));
    ReadInto(FullScreenWait, on(L"FullScreenWait", 0));
    for (int command = 0; command < hkCount; ++command)
        ReadInto(HotKeys[command], [&] { return HotKeyOf(reg.ReadInteger(s, kHotKeyNames[command], 0)); });
    ReadInto(MonitorMode, [&] { return MonitorModeOf(reg.ReadInteger(s, L"Monitors", 0)); });
    ReadInto(WallpaperPosition, [&] { return reg.ReadString(s, L"WallpaperPosition", L""); });
}

void Options::SaveConfirmed(TRegIniFile& reg) const {
    const std::wstring s = kSettingsSection;
    reg.WriteInteger(s, L"中央表示", CenterTiles ? 1 : 0);
    reg.WriteInteger(s, L"起動設定", StartHidden ? 1 : 0);
    reg.WriteInteger(s, L"時間", IntervalMinutes);
    reg.WriteInteger(s, L"終了", ChangeAtShutdown ? 1 : 0);
    reg.WriteInteger(s, L"時間変更", TimedChange ? 1 : 0);
    reg.WriteInteger(s, L"変更方法", static_cast<int>(ChangeMethod));
    reg.WriteInteger(s, L"一発消去", ClearIcon ? 1 : 0);
    reg.WriteInteger(s, L"XPos", XPos);
    reg.WriteInteger(s, L"YPos", YPos);
    reg.WriteBool(s, L"Move", Move);
    reg.WriteInteger(s, L"NoRepeat", NoRepeat ? 1 : 0);
    reg.WriteInteger(s, L"FullScreenWait", FullScreenWait ? 1 : 0);
    for (int command = 0; command < hkCount; ++command)
        reg.WriteInteger(s, kHotKeyNames[command], HotKeys[command]);
    reg.WriteInteger(s, L"Monitors", static_cast<int>(MonitorMode));
}

void Options::SaveWallpaperPosition(TRegIniFile& reg) const {
    if (!WallpaperPosition.empty()) reg.WriteString(kSettingsSection, L"WallpaperPosition", WallpaperPosition);
}

void Options::SavePaused(TRegIniFile& reg) const {
    reg.WriteInteger(kSettingsSection, L"Pause", Paused ? 1 : 0);
}

void Options::SaveTrayMode(TRegIniFile& reg) const {
    reg.WriteInteger(kSettingsSection, L"モード", static_cast<int>(TrayMode));
}

void Options::SaveAutoRun(TRegIniFile& reg) const {
    reg.WriteBool(kSettingsSection, L"自動実行", AutoRun);
    reg.WriteString(kSettingsSection, L"自動File", AutoFile);
}

TDisplayPosition StoredPosition(int stored) {
    return stored >= 0 && stored <= 5 ? static_cast<TDisplayPosition>(stored) : TDisplayPosition::Standard;
}
