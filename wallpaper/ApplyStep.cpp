#include "wallpaper/ApplyStep.h"

#include "framework/TPicture.h"
#include "wallpaper/SafeFileWrite.h"
#include "wallpaper/TWallChanger.h"
#include "wallpaper/TileComposer.h"

void ApplyPicture(TWallChanger& desktop, const TPicture& picture, const WallpaperRequest& request) {
    const Placement& placement = request.Placement;
    // The desktop names this file: a write that fails must leave it whole.
    WriteReplacing(request.BitmapPath, [&](const std::wstring& path) {
        if (!placement.Tiling) {
            picture.SaveToFile(path);
            return;
        }
        const TileOptions& tiles = request.Tiles;
        const SIZE screen = request.Screen;
        TileStart start = FirstTile(screen.cx, screen.cy, picture.Width(), picture.Height(), tiles.CenterTiles,
                                    tiles.Move, tiles.XPos, tiles.YPos);
        WriteTiledBitmap(picture, start, screen.cx, screen.cy, path);
    });
    desktop.Tiling = placement.Tiling;
    desktop.Stretch = placement.Stretch;
    desktop.WallpaperName = request.BitmapPath;
    desktop.Apply();
}

void ClearDesktop(TWallChanger& desktop) {
    desktop.WallpaperName.clear();
    TWallChanger::ClearWallpaper();
}
