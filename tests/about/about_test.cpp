// OrvelCtl.dll from a host of its own: the export, the texts the dialog
// shows, its design and place, its picture, and how it closes.
#include "about/AboutHost.h"
#include "support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

using namespace abouthost;

namespace {
class AboutShowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dir(path);
        dir.resize(dir.find_last_of(L'\\') + 1);
        library = LoadLibraryW((dir + L"OrvelCtl.dll").c_str());
        proc = reinterpret_cast<AboutShowProc>(reinterpret_cast<void*>(GetProcAddress(library, "AboutShow")));
    }
    void SetUp() override { ASSERT_NE(proc, nullptr) << "OrvelCtl.dll with AboutShow"; }

    static HMODULE library;
    static AboutShowProc proc;
};
HMODULE AboutShowTest::library = nullptr;
AboutShowProc AboutShowTest::proc = nullptr;

TEST_F(AboutShowTest, ExportedByItsPlainNameOnly) {
    EXPECT_EQ(GetProcAddress(library, "_AboutShow@16"), nullptr);
    EXPECT_EQ(GetProcAddress(library, "AboutShow@16"), nullptr);
}

struct TextCase {
    const char* what;
    const char* title;
    const char* version;
    const char* edition;
    std::wstring wantTitle, wantVersion, wantMsg1, wantMsg2, wantMsg3;
};

TEST_F(AboutShowTest, ShowsTheCallersTexts) {
    const std::string fw = ShiftJis(L"FW版"), trailing = ShiftJis(L"FW版 "), other = ShiftJis(L"シェアウエア版");
    const std::string title = ShiftJis(L"壁紙チェンジャー");
    const std::vector<TextCase> cases = {
        {"the program's call", "Vintrel", "3.20", fw.c_str(), L"Vintrel", L"Ver 3.20", L"", L"フリーウエア版", L""},
        {"null pointers", nullptr, nullptr, nullptr, L"", L"Ver ", L"", L"", L""},
        {"another edition stays", title.c_str(), "1.0", other.c_str(), L"壁紙チェンジャー", L"Ver 1.0", L"",
         L"シェアウエア版", L""},
        {"only the exact edition", "T", "2", trailing.c_str(), L"T", L"Ver 2", L"", L"FW版 ", L""},
    };
    for (const TextCase& c : cases) {
        std::map<std::pair<int, int>, std::wstring> labels;
        CallResult r = Call(proc, c.title, c.version, c.edition, nullptr, [&](HWND dialog) {
            labels = Labels(dialog);
            PostKey(dialog, VK_RETURN);
        });
        SCOPED_TRACE(c.what);
        ASSERT_NE(r.dialog, nullptr);
        EXPECT_EQ(r.result, 0);
        EXPECT_FALSE(r.closedByWatcher);
        EXPECT_EQ(labels[kTitle], c.wantTitle);
        EXPECT_EQ(labels[kVersion], c.wantVersion);
        EXPECT_EQ(labels[kOS], L"For Windows98");
        EXPECT_EQ(labels[kMsg1], c.wantMsg1);
        EXPECT_EQ(labels[kMsg2], c.wantMsg2);
        EXPECT_EQ(labels[kMsg3], c.wantMsg3);
        EXPECT_EQ(labels[kHeading], L"作者への連絡先");
        for (auto place : {kNotice, kContact1, kContact2, kContact3})
            EXPECT_FALSE(labels[place].empty()) << place.first << "," << place.second;
    }
}

TEST_F(AboutShowTest, DesignAndPlaceOnTheScreen) {
    RECT client{}, frame{};
    std::wstring caption, button, status = L"?";
    RECT buttonRect{}, barRect{};
    CallResult r = Call(proc, "Vintrel", "3.20", nullptr, nullptr, [&](HWND dialog) {
        GetClientRect(dialog, &client);
        GetWindowRect(dialog, &frame);
        wchar_t text[64] = {};
        GetWindowTextW(dialog, text, 64);
        caption = text;
        HWND ok = ProgramDriver::FindChild(dialog, L"BUTTON");
        GetWindowTextW(ok, text, 64);
        button = text;
        GetWindowRect(ok, &buttonRect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&buttonRect), 2);
        HWND bar = ProgramDriver::FindChild(dialog, L"msctls_statusbar32");
        if (bar) status = std::to_wstring(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 255, 0)));
        GetWindowRect(bar, &barRect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&barRect), 2);
        PostKey(dialog, VK_RETURN);
    });
    ASSERT_NE(r.dialog, nullptr);
    EXPECT_EQ(caption, L"バージョン表示");
    EXPECT_EQ(client.right, 413);
    EXPECT_EQ(client.bottom, 296);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    EXPECT_EQ(button, L"確認");
    EXPECT_EQ(buttonRect.left, 312);
    EXPECT_EQ(buttonRect.top, 224);
    EXPECT_EQ(buttonRect.right - buttonRect.left, 97);
    EXPECT_EQ(buttonRect.bottom - buttonRect.top, 41);
    EXPECT_EQ(status, L"0") << "an empty status bar";
    EXPECT_EQ(barRect.bottom - barRect.top, 25);
    EXPECT_EQ(barRect.bottom, 296) << "at the bottom";
}

TEST_F(AboutShowTest, ModalToTheActiveWindow) {
    CallResult r = Call(proc, "Vintrel", "3.20", nullptr, nullptr, [](HWND dialog) { PostKey(dialog, VK_RETURN); });
    ASSERT_NE(r.dialog, nullptr);
    EXPECT_FALSE(r.hostEnabledWhileOpen);
    EXPECT_EQ(r.ownerWhileOpen, r.host) << "owned by the window that called";
    EXPECT_TRUE(r.hostEnabledAfter);
    EXPECT_FALSE(IsWindow(r.dialog)) << "the dialog is gone after the call";
}

TEST_F(AboutShowTest, EnterTheButtonAndTheCloseBoxClose) {
    struct CloseCase {
        const char* what;
        std::function<void(HWND)> close;
    };
    const std::vector<CloseCase> cases = {
        {"Enter", [](HWND d) { PostKey(d, VK_RETURN); }},
        {"確認", [](HWND d) { PostMessageW(ProgramDriver::FindChild(d, L"BUTTON"), BM_CLICK, 0, 0); }},
        {"close box", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const CloseCase& c : cases) {
        CallResult r = Call(proc, "Vintrel", "3.20", nullptr, nullptr, c.close);
        SCOPED_TRACE(c.what);
        ASSERT_NE(r.dialog, nullptr);
        EXPECT_EQ(r.result, 0);
        EXPECT_FALSE(r.closedByWatcher);
    }
}

TEST_F(AboutShowTest, EscapeDoesNotClose) {
    bool openAfterEscape = false;
    CallResult r = Call(proc, "Vintrel", "3.20", nullptr, nullptr, [&](HWND dialog) {
        PostKey(dialog, VK_ESCAPE);
        openAfterEscape = OpenAfterQueuedInput(dialog);
        PostKey(dialog, VK_RETURN);
    });
    ASSERT_NE(r.dialog, nullptr);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_FALSE(r.closedByWatcher) << "Enter still closes it";
}

TEST_F(AboutShowTest, ShowsACopyOfThePicture) {
    HICON icon = SolidIcon(RGB(255, 0, 0));
    RECT imageRect{};
    COLORREF painted = 0;
    CallResult r = Call(proc, "Vintrel", "3.20", nullptr, icon, [&](HWND dialog) {
        HWND image = ProgramDriver::FindChild(dialog, L"TapestraImage");
        GetClientRect(image, &imageRect);
        // The caller's icon may go while the dialog is open: the dialog has its own.
        DestroyIcon(icon);
        painted = PaintedCentre(image);
        PostKey(dialog, VK_RETURN);
    });
    ASSERT_NE(r.dialog, nullptr);
    EXPECT_EQ(imageRect.right, 32) << "sized to the picture";
    EXPECT_EQ(imageRect.bottom, 32);
    EXPECT_EQ(painted, RGB(255, 0, 0));
}

TEST_F(AboutShowTest, TheCallerKeepsItsPicture) {
    HICON icon = SolidIcon(RGB(0, 0, 255));
    COLORREF withNone = 0;
    CallResult r = Call(proc, "Vintrel", "3.20", nullptr, icon, [](HWND dialog) { PostKey(dialog, VK_RETURN); });
    ASSERT_NE(r.dialog, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info)) << "the library did not free the caller's icon";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_TRUE(DestroyIcon(icon));

    Call(proc, "Vintrel", "3.20", nullptr, nullptr, [&](HWND dialog) {
        withNone = PaintedCentre(ProgramDriver::FindChild(dialog, L"TapestraImage"));
        PostKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(withNone, GetSysColor(COLOR_BTNFACE)) << "no picture";
}

TEST_F(AboutShowTest, EachCallShowsAFreshDialog) {
    std::wstring first, second;
    CallResult one = Call(proc, "One", "1", nullptr, nullptr, [&](HWND dialog) {
        first = Labels(dialog)[kTitle];
        PostKey(dialog, VK_RETURN);
    });
    EXPECT_FALSE(IsWindow(one.dialog));
    CallResult two = Call(proc, "Two", "2", nullptr, nullptr, [&](HWND dialog) {
        second = Labels(dialog)[kTitle];
        PostKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(first, L"One");
    EXPECT_EQ(second, L"Two");
    EXPECT_EQ(two.result, 0);
}
} // namespace
