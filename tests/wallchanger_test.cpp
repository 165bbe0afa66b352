// The wallpaper writer against the prefix's registry and the real shell call.
#include "framework/Exception.h"
#include "support/TestRegistry.h"
#include "wallpaper/TWallChanger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

std::wstring CurrentWallpaper() {
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, static_cast<UINT>(std::size(path)), path, 0);
    return path;
}

class WallChanger : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const wchar_t* name :
             {L"TileWallpaper", L"WallpaperStyle", L"WallpaperOriginX", L"WallpaperOriginY"}) {
            HKEY key;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktop, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
                RegDeleteValueW(key, name);
                RegCloseKey(key);
            }
        }
    }
    // A small BMP the shell can show.
    std::wstring MakeBitmapFile() {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        std::wstring path = std::wstring(dir) + L"wallchanger_test.bmp";
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof(info);
        info.biWidth = 2;
        info.biHeight = 2;
        info.biPlanes = 1;
        info.biBitCount = 24;
        const char pixels[16] = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + sizeof(pixels);
        std::ofstream out(std::filesystem::path(path), std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof(file));
        out.write(reinterpret_cast<const char*>(&info), sizeof(info));
        out.write(pixels, sizeof(pixels));
        return path;
    }
    TWallChanger changer{nullptr};
};

TEST_F(WallChanger, MissingValuesReadAsDefaults) {
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"Wallpaper", L"");
    HKEY key;
    RegOpenKeyExW(HKEY_CURRENT_USER, kDesktop, 0, KEY_WRITE, &key);
    RegDeleteValueW(key, L"Wallpaper");
    RegCloseKey(key);
    changer.OriginX = 9;
    changer.Tiling = true;
    changer.Stretch = true;
    EXPECT_TRUE(changer.ReadDesktopSettings());
    EXPECT_EQ(changer.OriginX, 0);
    EXPECT_EQ(changer.OriginY, 0);
    EXPECT_FALSE(changer.Stretch);
    EXPECT_FALSE(changer.Tiling);
    EXPECT_EQ(changer.WallpaperName, L" ");
}

TEST_F(WallChanger, StretchOnlyForTwoTilingForAnyNonZeroHexAndJunkOrigins) {
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle", L"1");
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper", L"5");
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperOriginX", L"0x10");
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperOriginY", L"abc");
    changer.ReadDesktopSettings();
    EXPECT_FALSE(changer.Stretch);
    EXPECT_TRUE(changer.Tiling);
    EXPECT_EQ(changer.OriginX, 16);
    EXPECT_EQ(changer.OriginY, 0);
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle", L"2");
    changer.ReadDesktopSettings();
    EXPECT_TRUE(changer.Stretch);
}

TEST_F(WallChanger, AValueOfAnotherTypeRaisesAndKeepsWhatWasReadBefore) {
    testreg::SetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperOriginX", L"7");
    testreg::SetDword(HKEY_CURRENT_USER, kDesktop, L"WallpaperOriginY", 3);
    try {
        changer.ReadDesktopSettings();
        FAIL() << "no error raised";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message, L"'WallpaperOriginY' のﾃﾞｰﾀ型が不正です");
    }
    EXPECT_EQ(changer.OriginX, 7);
}

TEST_F(WallChanger, ApplyWritesThePositionValuesBeforeTheShellIsTold) {
    std::wstring bmp = MakeBitmapFile();
    std::wstring tileAtCall, styleAtCall, xAtCall;
    int calls = 0;
    changer.SystemParametersInfo = [&](UINT action, UINT param, void* data, UINT flags) {
        ++calls;
        EXPECT_EQ(action, static_cast<UINT>(SPI_SETDESKWALLPAPER));
        EXPECT_EQ(param, 0u);
        EXPECT_EQ(flags, static_cast<UINT>(SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE));
        EXPECT_EQ(std::wstring(static_cast<wchar_t*>(data)), bmp);
        tileAtCall = testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper").value_or(L"?");
        styleAtCall = testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle").value_or(L"?");
        xAtCall = testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperOriginX").value_or(L"?");
        return ::SystemParametersInfoW(action, param, data, flags);
    };
    changer.OriginX = -5;
    changer.OriginY = 12;
    changer.WallpaperName = bmp;
    changer.Tiling = true;
    changer.Stretch = false;
    EXPECT_TRUE(changer.Apply());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(tileAtCall, L"1");
    EXPECT_EQ(styleAtCall, L"0");
    EXPECT_EQ(xAtCall, L"-5");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperOriginY"), L"12");
    EXPECT_EQ(CurrentWallpaper(), bmp);
}

TEST_F(WallChanger, EachPositionWritesItsPairOfValues) {
    std::wstring bmp = MakeBitmapFile();
    struct Case {
        bool tiling, stretch;
        const wchar_t *tile, *style;
    } cases[] = {{false, false, L"0", L"0"},
                 {true, false, L"1", L"0"},
                 {false, true, L"0", L"2"},
                 {true, true, L"1", L"2"}};
    for (const auto& c : cases) {
        changer.SetWallpaper(bmp, c.tiling, c.stretch);
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"), c.tile);
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"WallpaperStyle"), c.style);
        TWallChanger reader(nullptr);
        reader.ReadDesktopSettings();
        EXPECT_EQ(reader.Tiling, c.tiling);
        EXPECT_EQ(reader.Stretch, c.stretch);
        EXPECT_EQ(reader.WallpaperName, bmp);
    }
}

TEST_F(WallChanger, ClearRemovesTheWallpaperAndKeepsThePositionValues) {
    changer.SetWallpaper(MakeBitmapFile(), true, false);
    TWallChanger::ClearWallpaper();
    EXPECT_EQ(CurrentWallpaper(), L"");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, kDesktop, L"TileWallpaper"), L"1");
}

TEST_F(WallChanger, ClearWithoutTheDefaultProfileKeyStillCallsTheShellWithAnEmptyName) {
    testreg::DeleteTree(HKEY_USERS, L".Default\\Control Panel\\desktop");
    int calls = 0;
    TWallChanger::ClearWallpaper([&](UINT action, UINT param, void* data, UINT flags) {
        ++calls;
        EXPECT_EQ(action, static_cast<UINT>(SPI_SETDESKWALLPAPER));
        EXPECT_EQ(param, 0u);
        EXPECT_NE(data, nullptr);
        EXPECT_EQ(std::wstring(static_cast<wchar_t*>(data)), L"");
        EXPECT_EQ(flags, 0u);
        return TRUE;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(testreg::KeyExists(HKEY_USERS, L".Default\\Control Panel\\desktop"));
}

TEST_F(WallChanger, ClearWritesAnEmptyNameIntoTheDefaultProfile) {
    testreg::SetString(HKEY_USERS, L".Default\\Control Panel\\desktop", L"wallpaper", L"C:\\old.bmp");
    TWallChanger::ClearWallpaper([](UINT, UINT, void*, UINT) { return TRUE; });
    EXPECT_EQ(testreg::GetString(HKEY_USERS, L".Default\\Control Panel\\desktop", L"wallpaper"), L"");
}
} // namespace
