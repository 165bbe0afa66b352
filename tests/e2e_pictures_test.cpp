// The built program with today's photos: a sideways phone photo comes out
// upright, in fill and in fit, applied by the tray double-click.
#include "support/ProgramDriver.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/TrayCallback.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";
const std::wstring kFixtures = L"" PICTURE_FIXTURES;

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A pixel of the upright 4x7 picture as ImageMagick turned it.
COLORREF Upright(const std::vector<uint8_t>& rgba, int x, int y) {
    const uint8_t* p = &rgba[static_cast<size_t>(y * 4 + x) * 4];
    return RGB(p[0], p[1], p[2]);
}

void ExpectNear(COLORREF actual, COLORREF expected, const char* what) {
    EXPECT_NEAR(GetRValue(actual), GetRValue(expected), 12) << what;
    EXPECT_NEAR(GetGValue(actual), GetGValue(expected), 12) << what;
    EXPECT_NEAR(GetBValue(actual), GetBValue(expected), 12) << what;
}

TEST(ProgramPictures, ASidewaysPhotoComesOutUprightInFillAndInFit) {
    ProgramDriver::EndStrayPrograms();
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    // Stored 7x4 and tagged 6 and 8 (turned a quarter either way): 4x7 upright.
    const std::wstring fill = kFixtures + L"\\o6.jpg", fit = kFixtures + L"\\o8.jpg";
    testreg::SeedGroups({L"g"});
    testreg::SeedFiles(L"g", {fill, fit}, {4, 5});
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
    testreg::SetString(HKEY_CURRENT_USER, kSettings, L"モード", L"1");
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    HWND callback = CallbackWindow(program.ProcessId());
    ASSERT_NE(callback, nullptr);
    const std::wstring written = ProgramDriver::BinDir() + L"\\Tapestra32.BMP";
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);

    struct Case {
        const char* name;
        std::wstring file;
        std::wstring upright;
    } cases[] = {{"fill", fill, kFixtures + L"\\o6.upright.rgba"}, {"fit", fit, kFixtures + L"\\o8.upright.rgba"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(WaitUntil([&] {
            return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files") == c.file;
        }));
        const testfiles::Bitmap bmp = testfiles::ReadBitmap(written);
        ASSERT_EQ(bmp.width, width);
        ASSERT_EQ(bmp.height, height);
        const std::vector<uint8_t> rgba = ReadBytes(c.upright);
        ASSERT_EQ(rgba.size(), 4u * 7 * 4);
        // Pixel centres of the upright picture's fourth row, scaled.
        const bool filled = c.file == fill;
        const double scale = filled ? width / 4.0 : height / 7.0;
        const int left = filled ? 0 : static_cast<int>((width - 4 * scale) / 2);
        const int top = filled ? static_cast<int>((height - 7 * scale) / 2) : 0;
        for (int x : {0, 3})
            ExpectNear(bmp.Pixel(left + static_cast<int>((x + 0.5) * scale), top + static_cast<int>(3.5 * scale)),
                       Upright(rgba, x, 3), x == 0 ? "left" : "right");
        if (!filled) {
            EXPECT_EQ(bmp.Pixel(2, height / 2), GetSysColor(COLOR_BACKGROUND)) << "the margin";
        }
    }
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
}
} // namespace
