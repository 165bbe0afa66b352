// The hooks every control shares: painting through Paint with the part to
// paint, the context menu at the mouse or, from the keyboard, below the
// current item, and menu commands reaching their item once.
#include "framework/Controls.h"
#include "framework/Handle.h"
#include "framework/StdCtrls.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/TStringGrid.h"
#include "framework/TTreeView.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class Hooks : public ::testing::Test {
  protected:
    void SetUp() override {
        form.SetBounds(120, 100, 320, 240);
        form.Show();
        UpdateWindow(form.Handle());
    }
    TApplication application;
    TForm form{nullptr};
};

// A control of our own class that records what it is asked to paint.
class Painted : public TWinControl {
  public:
    Painted(TComponent* owner, TWinControl& parent) : TWinControl(owner) {
        SetBounds(10, 10, 100, 80);
        CreateOwnWindow(L"TapestraHookTest", WS_CHILD | WS_VISIBLE, 0, parent.Handle());
        AttachParent(parent);
    }
    std::vector<RECT> updates;

  protected:
    void Paint(HDC dc, const RECT& update) override {
        updates.push_back(update);
        FillRect(dc, &update, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
};

// Prints a window's client area onto a magenta background.
class Print {
  public:
    explicit Print(HWND wnd) {
        SelectGuard select(dc_.get(), bitmap_.get());
        UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
        RECT all{0, 0, 64, 64};
        FillRect(dc_.get(), &all, magenta.get());
        SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()), PRF_CLIENT);
    }
    COLORREF Pixel(int x, int y) const {
        SelectGuard select(dc_.get(), bitmap_.get());
        return GetPixel(dc_.get(), x, y);
    }

  private:
    UniqueDC dc_{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap_{CreateBitmap(64, 64, 1, 32, nullptr)};
};

TEST_F(Hooks, PaintGetsTheInvalidPartAndLeavesTheControlValid) {
    Painted& control = form.Own<Painted>(form);
    UpdateWindow(control.Handle());
    control.updates.clear();
    RECT part{20, 15, 45, 30};
    InvalidateRect(control.Handle(), &part, FALSE);
    UpdateWindow(control.Handle());
    ASSERT_EQ(control.updates.size(), 1u);
    EXPECT_TRUE(EqualRect(&control.updates[0], &part));
    RECT left{};
    EXPECT_FALSE(GetUpdateRect(control.Handle(), &left, FALSE)) << "the paint was ended";

    Print print(control.Handle());
    ASSERT_EQ(control.updates.size(), 2u) << "a print paints through the same hook";
    RECT client{0, 0, 100, 80};
    EXPECT_TRUE(EqualRect(&control.updates[1], &client)) << "the whole client area";
    EXPECT_EQ(print.Pixel(5, 5), RGB(0, 0, 0));
}

TEST_F(Hooks, APanelPaintsItsBevelsAndASystemControlItself) {
    struct Case {
        TBevel outer;
        int sysColor;
    };
    const Case cases[] = {{TBevel::Raised, COLOR_BTNHIGHLIGHT},
                          {TBevel::Lowered, COLOR_BTNSHADOW},
                          {TBevel::None, COLOR_BTNFACE}};
    TPanel& panel = form.Own<TPanel>(form);
    panel.SetBounds(0, 0, 64, 64);
    for (const Case& c : cases) {
        panel.SetBevels(c.outer, TBevel::None);
        EXPECT_EQ(Print(panel.Handle()).Pixel(0, 0), GetSysColor(c.sysColor)) << static_cast<int>(c.outer);
    }
    // A system control keeps its own painting: it is not handed to the hook.
    TButton& button = form.Own<TButton>(form, L"OK", 0, 0, 64, 64);
    EXPECT_NE(Print(button.Handle()).Pixel(32, 32), RGB(255, 0, 255));
}

// The screen rectangle of the menu that opens next, which is then closed.
RECT openedMenu;

void CALLBACK RecordAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    GetWindowRect(FindWindowW(L"#32768", nullptr), &openedMenu);
    EndMenu();
}

// Sends WM_CONTEXTMENU and answers where the control's menu opened and how
// often.
struct MenuProbe {
    explicit MenuProbe(TWinControl& control) : control(control), menu(control.Own<TPopupMenu>()) {
        menu.Add(L"項目(&A)");
        menu.OnPopup = [this] {
            ++popups;
            SetTimer(nullptr, 0, 50, RecordAndClose);
        };
        control.PopupMenu = &menu;
    }
    POINT Open(LPARAM at) {
        openedMenu = {};
        SendMessageW(control.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control.Handle()), at);
        return {openedMenu.left, openedMenu.top};
    }
    TWinControl& control;
    TPopupMenu& menu;
    int popups = 0;
};

POINT ToScreen(HWND wnd, POINT pt) {
    ClientToScreen(wnd, &pt);
    return pt;
}

const LPARAM kFromKeyboard = MAKELPARAM(-1, -1);

TEST_F(Hooks, AKeyboardMenuOpensBelowTheCurrentRowOfAGrid) {
    TStringGrid& grid = form.Own<TStringGrid>(form);
    grid.SetBounds(10, 10, 200, 120);
    grid.SetRows({L"a", L"b", L"c", L"d"});
    grid.SetRow(2);
    MenuProbe probe(grid);
    RECT row{};
    SendMessageW(grid.Handle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    POINT at = probe.Open(kFromKeyboard);
    EXPECT_EQ(probe.popups, 1);
    POINT expected = ToScreen(grid.Handle(), {row.left, row.bottom});
    EXPECT_EQ(at.x, expected.x);
    EXPECT_EQ(at.y, expected.y);

    // Scrolled out of sight: inside the top left corner instead.
    std::vector<std::wstring> many(60, L"row");
    grid.SetRows(many);
    grid.SetRow(59);
    SendMessageW(grid.Handle(), LB_SETTOPINDEX, 0, 0);
    at = probe.Open(kFromKeyboard);
    expected = ToScreen(grid.Handle(), {2, 2});
    EXPECT_EQ(at.x, expected.x);
    EXPECT_EQ(at.y, expected.y);
}

TEST_F(Hooks, AKeyboardMenuOpensBelowTheSelectedNodeAndAMouseMenuAtTheMouse) {
    TTreeView& tree = form.Own<TTreeView>(form, TVS_HASLINES | TVS_SHOWSELALWAYS);
    tree.SetBounds(10, 10, 200, 150);
    HTREEITEM root = tree.AddChild(nullptr, L"root");
    tree.AddChild(root, L"one");
    HTREEITEM two = tree.AddChild(root, L"two");
    tree.Expand(root);
    tree.Select(two);
    MenuProbe probe(tree);
    RECT node{};
    ASSERT_TRUE(TreeView_GetItemRect(tree.Handle(), two, &node, TRUE));
    POINT at = probe.Open(kFromKeyboard);
    POINT expected = ToScreen(tree.Handle(), {node.left, node.bottom});
    EXPECT_EQ(at.x, expected.x);
    EXPECT_EQ(at.y, expected.y);

    POINT mouse = ToScreen(tree.Handle(), {40, 30});
    at = probe.Open(MAKELPARAM(mouse.x, mouse.y));
    EXPECT_EQ(at.x, mouse.x);
    EXPECT_EQ(at.y, mouse.y);
    EXPECT_EQ(probe.popups, 2);
}

TEST_F(Hooks, AControlWithoutAMenuLeavesItToItsParent) {
    TPanel& panel = form.Own<TPanel>(form);
    MenuProbe probe(form);
    probe.Open(kFromKeyboard);
    EXPECT_EQ(probe.popups, 1);
    SendMessageW(panel.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel.Handle()), kFromKeyboard);
    EXPECT_EQ(probe.popups, 1) << "the form shows its own menu only for itself";
}

TEST_F(Hooks, OnlyAMenusCommandRunsItsItemOnce) {
    TMainMenu& bar = form.Own<TMainMenu>();
    int clicks = 0;
    TMenuItem& item = bar.Add(L"項目(&A)", [&] { ++clicks; });
    TMenuItem& disabled = bar.Add(L"無効(&B)", [&] { ++clicks; });
    disabled.SetEnabled(false);
    form.SetMenu(&bar);
    const WORD id = static_cast<WORD>(item.Command());
    // Not one of ours, so nothing takes its notification on the way.
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form.Handle(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    ASSERT_TRUE(child);
    struct Case {
        const char* what;
        WPARAM wParam;
        LPARAM lParam;
        int clicks;
    };
    const Case cases[] = {
        {"a menu's command", MAKEWPARAM(id, 0), 0, 1},
        {"an accelerator", MAKEWPARAM(id, 1), 0, 0},
        {"a control with the same number", MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(child), 0},
        {"no item", MAKEWPARAM(0xFFF0, 0), 0, 0},
        {"a disabled item", MAKEWPARAM(disabled.Command(), 0), 0, 0},
    };
    for (const Case& c : cases) {
        clicks = 0;
        SendMessageW(form.Handle(), WM_COMMAND, c.wParam, c.lParam);
        EXPECT_EQ(clicks, c.clicks) << c.what;
    }
}
} // namespace
