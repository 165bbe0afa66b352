#include "wallpaper/TWallChanger.h"

#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/TRegIniFile.h"
#include "framework/Text.h"

namespace {
const wchar_t kControlPanel[] = L"Control Panel";
const wchar_t kDesktop[] = L"Desktop";
} // namespace

TWallChanger::TWallChanger(TComponent* owner) : TComponent(owner) {}

bool TWallChanger::ReadDesktopSettings() {
    TRegIniFile reg(HKEY_CURRENT_USER, kControlPanel);
    OriginX = reg.ReadInteger(kDesktop, L"WallpaperOriginX", 0);
    OriginY = reg.ReadInteger(kDesktop, L"WallpaperOriginY", 0);
    const int style = reg.ReadInteger(kDesktop, L"WallpaperStyle", 0);
    Stretch = style == 2;
    Span = style == 22;
    Tiling = reg.ReadInteger(kDesktop, L"TileWallpaper", 0) != 0;
    WallpaperName = reg.ReadString(kDesktop, L"Wallpaper", L" ");
    return true;
}

bool TWallChanger::Apply() {
    return SetWallpaper(WallpaperName, Tiling, Stretch, Span);
}

bool TWallChanger::SetWallpaper(const std::wstring& name, bool tiling, bool stretch, bool span) {
    {
        TRegIniFile reg(HKEY_CURRENT_USER, kControlPanel);
        reg.CreateSection(kDesktop);
        // The position values must be in place before the shell reads them.
        reg.WriteString(kDesktop, L"TileWallpaper", tiling && !span ? L"1" : L"0");
        reg.WriteString(kDesktop, L"WallpaperStyle", span ? L"22" : stretch ? L"2" : L"0");
        reg.WriteString(kDesktop, L"WallpaperOriginX", IntToText(OriginX));
        reg.WriteString(kDesktop, L"WallpaperOriginY", IntToText(OriginY));
    }
    std::wstring path = name;
    SystemParametersInfo(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    return true;
}

void TWallChanger::ClearWallpaper(const TSystemParametersInfo& systemParametersInfo) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_USERS, L".Default\\Control Panel\\desktop", 0, KEY_READ | KEY_WRITE, key.put()) ==
        ERROR_SUCCESS) {
        const wchar_t empty[] = L"";
        if (RegSetValueExW(key.get(), L"wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(empty),
                           sizeof(empty)) != ERROR_SUCCESS)
            throw ERegistryException(FormatText(L"'%s' の設定に失敗しました", {L"wallpaper"}));
    }
    // An empty name removes the wallpaper; a null one would bring back the
    // system's default picture on current Windows.
    wchar_t none[] = L"";
    systemParametersInfo(SPI_SETDESKWALLPAPER, 0, none, 0);
}
