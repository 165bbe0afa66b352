// The file drop target with real HDROP blocks sent as WM_DROPFILES.
#include "framework/Controls.h"
#include "framework/Exception.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TStringGrid.h"
#include "support/FormFixture.h"
#include "support/ScriptedModalUI.h"
#include "widgets/TFileDrop.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <memory>

namespace {

// A drop as the shell makes it: DROPFILES, then wide names, each ended by a
// zero, and one more zero at the end.
HGLOBAL MakeDrop(const std::vector<std::wstring>& names, POINT point) {
    size_t chars = 1;
    for (const auto& name : names)
        chars += name.size() + 1;
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->pt = point;
    files->fNC = FALSE;
    files->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(files + 1);
    for (const auto& name : names) {
        std::memcpy(text, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
        text += name.size() + 1;
    }
    GlobalUnlock(drop);
    return drop;
}

bool Freed(HGLOBAL drop) {
    return GlobalFlags(drop) == GMEM_INVALID_HANDLE;
}

bool AcceptsFiles(HWND wnd) {
    return (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

struct DropEvent {
    TFileDrop* sender;
    int count;
    std::vector<std::wstring> names;
    POINT point;
};

class FileDrop : public FormFixture {
  protected:
    void SetUp() override {
        MakeForm();
        form->SetBounds(0, 0, 400, 300);
        drop = &form->Own<TFileDrop>();
        grid = &form->Own<TStringGrid>(*form);
        grid->SetBounds(10, 10, 200, 150);
    }
    void TearDown() override { owner.reset(); }

    void Record() {
        drop->OnFileDrop = [this](TFileDrop& sender, int count, const std::vector<std::wstring>& names,
                                  POINT p) {
            events.push_back({&sender, count, names, p});
        };
    }
    // Sends a drop and answers whether the target released it.
    bool Drop(HWND target, const std::vector<std::wstring>& names, POINT point = {5, 6}) {
        HGLOBAL memory = MakeDrop(names, point);
        LRESULT result = SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        bool freed = Freed(memory);
        if (!freed) GlobalFree(memory);
        EXPECT_TRUE(!freed || result == 0);
        return freed;
    }

    TFileDrop* drop = nullptr;
    TStringGrid* grid = nullptr;
    std::vector<DropEvent> events;
};

} // namespace

TEST_F(FileDrop, StartsAcceptingWithNoControl) {
    EXPECT_TRUE(drop->Accept());
    EXPECT_EQ(drop->Control(), nullptr);
    EXPECT_FALSE(AcceptsFiles(grid->Handle()));
    EXPECT_FALSE(AcceptsFiles(form->Handle()));
}

TEST_F(FileDrop, ThreeFilesRaiseOneEventInTheShellsOrder) {
    Record();
    drop->SetControl(grid);
    EXPECT_TRUE(AcceptsFiles(grid->Handle()));
    std::vector<std::wstring> names = {L"C:\\WALL\\b.jpg", L"C:\\WALL\\a.bmp", L"D:\\壁紙\\画像 一.gif"};
    EXPECT_TRUE(Drop(grid->Handle(), names, {12, 34}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].sender, drop);
    EXPECT_EQ(events[0].count, 3);
    EXPECT_EQ(events[0].names, names);
    EXPECT_EQ(events[0].point.x, 12);
    EXPECT_EQ(events[0].point.y, 34);
}

TEST_F(FileDrop, LongNamesArriveWhole) {
    Record();
    drop->SetControl(grid);
    std::wstring longName = L"C:\\" + std::wstring(296, L'n') + L".b"; // 301 characters
    std::wstring japanese = L"C:\\壁紙\\" + std::wstring(280, L'絵') + L".bmp";
    EXPECT_TRUE(Drop(grid->Handle(), {longName, japanese}));
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0].names.size(), 2u);
    EXPECT_EQ(events[0].names[0], longName);
    EXPECT_EQ(events[0].names[1], japanese);
}

TEST_F(FileDrop, WithoutAHandlerTheDropIsStillFinished) {
    drop->SetControl(grid);
    EXPECT_TRUE(Drop(grid->Handle(), {L"C:\\a.bmp"}));
    EXPECT_TRUE(modal->Errors.empty());
}

TEST_F(FileDrop, AHandlerThatThrowsIsReportedAndTheDropFinished) {
    drop->SetControl(grid);
    int calls = 0;
    drop->OnFileDrop = [&](TFileDrop&, int, const std::vector<std::wstring>&, POINT) {
        ++calls;
        throw Exception(L"登録できません");
    };
    EXPECT_TRUE(Drop(grid->Handle(), {L"C:\\a.bmp"}));
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(modal->Errors.size(), 1u);
    EXPECT_EQ(modal->Errors[0], L"登録できません");
    // The window goes on working.
    EXPECT_TRUE(Drop(grid->Handle(), {L"C:\\b.bmp"}));
    EXPECT_EQ(calls, 2);
}

TEST_F(FileDrop, AcceptRegistersTheWindowAtOnce) {
    drop->SetControl(grid);
    drop->SetAccept(false);
    EXPECT_FALSE(drop->Accept());
    EXPECT_FALSE(AcceptsFiles(grid->Handle()));
    drop->SetAccept(true);
    EXPECT_TRUE(AcceptsFiles(grid->Handle()));
}

TEST_F(FileDrop, AcceptSetBeforeHookingIsUsedWhenHooking) {
    drop->SetAccept(false);
    drop->SetControl(grid);
    EXPECT_FALSE(AcceptsFiles(grid->Handle()));
}

TEST_F(FileDrop, OtherMessagesReachTheWindowUnchanged) {
    grid->SetRows({L"(なし)", L"C:\\a.bmp", L"C:\\b.bmp"});
    drop->SetControl(grid);
    EXPECT_EQ(SendMessageW(grid->Handle(), LB_GETCOUNT, 0, 0), 3);
    grid->SetRow(2);
    EXPECT_EQ(SendMessageW(grid->Handle(), LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(grid->Cell(1), L"C:\\a.bmp");
}

TEST_F(FileDrop, WithoutAControlTheOwningFormIsHookedWhenLoaded) {
    Record();
    form->LoadedAll();
    EXPECT_TRUE(AcceptsFiles(form->Handle()));
    EXPECT_FALSE(AcceptsFiles(grid->Handle()));
    EXPECT_TRUE(Drop(form->Handle(), {L"C:\\a.bmp"}));
    ASSERT_EQ(events.size(), 1u);
}

TEST_F(FileDrop, WithoutAControlOrAFormThereIsNoWindow) {
    TComponent plain(nullptr);
    TFileDrop& orphan = plain.Own<TFileDrop>();
    try {
        orphan.SetControl(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, L"Invalidate Window Handle in FileDrop");
    }
    EXPECT_THROW(plain.LoadedAll(), Exception);
}

TEST_F(FileDrop, ChangingTheControlLetsTheOldOneGo) {
    Record();
    TPanel& panel = form->Own<TPanel>(*form);
    drop->SetControl(grid);
    drop->SetControl(&panel);
    EXPECT_EQ(drop->Control(), &panel);
    EXPECT_TRUE(AcceptsFiles(panel.Handle()));
    EXPECT_FALSE(Drop(grid->Handle(), {L"C:\\old.bmp"})) << "the old window is not hooked any more";
    EXPECT_TRUE(Drop(panel.Handle(), {L"C:\\new.bmp"}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].names[0], L"C:\\new.bmp");
}

TEST_F(FileDrop, DestroyingTheControlFirstForgetsIt) {
    Record();
    drop->SetControl(grid);
    HWND gone = grid->Handle();
    form->Free(*grid);
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(drop->Control(), nullptr);
    EXPECT_FALSE(drop->Accept());
    // Neither changing Accept nor destroying the component touches a window now.
    drop->SetAccept(true);
    EXPECT_FALSE(AcceptsFiles(form->Handle()));
    form->Free(*drop);
    EXPECT_FALSE(Drop(form->Handle(), {L"C:\\a.bmp"}));
    EXPECT_TRUE(events.empty());
}

TEST_F(FileDrop, DestroyingTheComponentFirstUnhooks) {
    Record();
    drop->SetControl(grid);
    form->Free(*drop);
    EXPECT_FALSE(Drop(grid->Handle(), {L"C:\\a.bmp"})) << "the window is no longer hooked";
    EXPECT_TRUE(events.empty());
    grid->SetRows({L"(なし)", L"C:\\a.bmp"});
    EXPECT_EQ(SendMessageW(grid->Handle(), LB_GETCOUNT, 0, 0), 2);
}

TEST_F(FileDrop, TheFormItselfGoingDestroysCleanly) {
    Record();
    drop->SetControl(nullptr);
    EXPECT_TRUE(AcceptsFiles(form->Handle()));
    owner.reset();
    EXPECT_TRUE(events.empty());
}
