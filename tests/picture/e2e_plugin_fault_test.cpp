// The built program with a GIF plug-in that faults: at start-up, when the
// last wallpaper is the picture that faults, and at a change from the tray.
// Each time the program shows the fault and goes on; once the plug-in
// behaves again the next change is applied.
#include "FakeSpiSession.h"
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/TrayCallback.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";
const wchar_t kScriptVariable[] = L"TAPESTRA_FAKESPI";

class ProgramWithFaultingPlugin : public ::testing::Test, protected FakeSpiSession {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        // The window-wide position starts from the desktop: centred here, so
        // the picture is written at its own size.
        testreg::SetString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"TileWallpaper", L"0");
        testreg::SetString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", L"0");
        // The program inherits the script's name.
        const std::wstring name = L"TapestraFakeSpi.e2e." + std::to_wstring(GetCurrentProcessId());
        SetEnvironmentVariableW(kScriptVariable, name.c_str());
        ASSERT_TRUE(OpenScript());
        // A copy of the program with the fake beside it as its GIF plug-in.
        folder = testfiles::FreshFolder(L"tapestra plugin fault") + L"\\";
        const std::wstring built = ProgramDriver::BinDir() + L"..\\";
        for (const wchar_t* file : {L"Tapestra32.exe", L"OrvelCtl.dll"})
            ASSERT_TRUE(CopyFileW((built + file).c_str(), (folder + file).c_str(), FALSE)) << file;
        ASSERT_TRUE(
            CopyFileW((TestFolder() + L"fakespi.dll").c_str(), (folder + L"ifgif.spi").c_str(), FALSE));

        first = folder + L"first.gif";
        second = folder + L"second.gif";
        third = folder + L"third.gif";
        testreg::SeedGroups({L"g"});
        testreg::SeedFiles(L"g", {first, second, third}, {1, 1, 1});
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"files", first);
        // The tray icon's double-click changes to the next file.
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"モード", L"1");
    }
    void TearDown() override {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        SetEnvironmentVariableW(kScriptVariable, nullptr);
    }

    void ChangeFromTheTray() {
        HWND callback = CallbackWindow(program.ProcessId());
        ASSERT_NE(callback, nullptr);
        PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    }
    // Answers the box the program shows and returns its text.
    std::wstring AnswerBox() {
        HWND box = ProgramDriver::WaitForMessageBox(program.ProcessId());
        if (!box) return program.Running() ? L"<no message box>" : L"<the program ended>";
        const std::wstring text = ProgramDriver::MessageBoxText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        return text;
    }
    static std::wstring FaultText(const std::wstring& path) {
        return L"ifgif.spi で例外 (C0000005) が発生しました [" + path + L"]";
    }

    ProgramDriver program;
    std::wstring folder, first, second, third;
};

TEST_F(ProgramWithFaultingPlugin, AFaultAtStartAndAtAChangeIsShownAndTheProgramGoesOn) {
    script->Misdeeds[fakespi::kPicture] = fakespi::kAccessViolation;
    ASSERT_TRUE(program.Start(folder));
    EXPECT_EQ(AnswerBox(), FaultText(first));
    ASSERT_NE(program.WaitForMainWindow(false), nullptr);

    ChangeFromTheTray();
    EXPECT_EQ(AnswerBox(), FaultText(second));
    ASSERT_NE(program.WaitForMainWindow(false), nullptr);
    EXPECT_EQ(script->Attached, 2);
    EXPECT_EQ(script->Detached, 2) << "released after each fault";

    script->Misdeeds[fakespi::kPicture] = fakespi::kBehaves;
    ChangeFromTheTray();
    ASSERT_TRUE(WaitUntil([&] { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files") == third; },
                          10000));
    EXPECT_EQ(script->Attached, 3) << "loaded afresh";
    EXPECT_EQ(testfiles::ReadBitmap(folder + L"Tapestra32.BMP").width, script->Width);
    EXPECT_TRUE(program.Running());
}

} // namespace
