// TAnimateForm in-process: where it may be placed, and the animated minimize
// with the form's caption on the taskbar button while it runs.
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "support/ScriptedModalUI.h"
#include "widgets/TAnimateForm.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <memory>

namespace {
// Records the application window's caption when it is minimized.
LRESULT CALLBACK RecordTitle(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_SIZE && wParam == SIZE_MINIMIZED) {
        wchar_t text[64] = {};
        GetWindowTextW(wnd, text, 64);
        *reinterpret_cast<std::wstring*>(data) = text;
    }
    return DefSubclassProc(wnd, msg, wParam, lParam);
}

class AnimateFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallScriptedModalUI(app);
        app.SetTitle(L"アプリ");
        owner = std::make_unique<TComponent>(nullptr);
        main = &owner->Own<TForm>();
        main->SetCaption(L"メイン");
        main->SetBounds(100, 100, 300, 200);
    }
    void TearDown() override { owner.reset(); }

    TApplication app;
    std::unique_ptr<TComponent> owner;
    TForm* main = nullptr;
};

TEST_F(AnimateFormTest, PlacementErrors) {
    struct Case {
        const char* what;
        std::function<void()> make;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"not on a form", [&] { owner->Own<TAnimateForm>(); }, L"Owner must be a form"},
        {"on a second form", [&] { owner->Own<TForm>().Own<TAnimateForm>(); },
         L"AnimateForm muse be placed in a main form"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.make();
            ADD_FAILURE() << "no error";
        } catch (const EAnimateFormError& e) {
            EXPECT_EQ(e.Message, c.message);
        }
    }
    EXPECT_EQ(main->Own<TAnimateForm>().FormHandle(), main->Handle());
}

TEST_F(AnimateFormTest, MinimizeGoesThroughTheApplicationWindowAndRestoreBringsTheFormBack) {
    main->Own<TAnimateForm>();
    ShowWindow(app.Handle(), SW_SHOW);
    main->Show();
    std::wstring titleWhileMinimizing;
    int minimized = 0;
    app.OnMinimize = [&] { ++minimized; };
    // The caption the taskbar button shows while the window shrinks into it.
    SetWindowSubclass(app.Handle(), RecordTitle, 1, reinterpret_cast<DWORD_PTR>(&titleWhileMinimizing));

    SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    RemoveWindowSubclass(app.Handle(), RecordTitle, 1);
    EXPECT_TRUE(IsIconic(app.Handle()));
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
    EXPECT_EQ(titleWhileMinimizing, L"メイン");
    EXPECT_EQ(app.Title(), L"アプリ");
    EXPECT_EQ(minimized, 1);

    EXPECT_EQ(SendMessageW(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0), 1);
    EXPECT_FALSE(IsIconic(app.Handle()));
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    RECT r{};
    GetWindowRect(app.Handle(), &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2);
}
} // namespace
