// The form hook of TMainCool: owner-draw registration kept in step with the
// menu, the mnemonic search, item selection with hints, removal rules and
// living beside the drop target's hook.
#include "widgets/CoolMenuFixture.h"
#include "widgets/TFileDrop.h"

#include <functional>

namespace {
MENUITEMINFOW Info(TMenuItem& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    GetMenuItemInfoW(item.ParentMenu(), item.MenuIndex(), TRUE, &info);
    return info;
}

using CoolMenuHook = CoolMenuFixture;

TEST_F(CoolMenuHook, EveryItemIsOwnerDrawnAndStaysSoWhenTheMenuChanges) {
    for (TMenuItem* item : {file, add, separator, plain, exit, change}) {
        MENUITEMINFOW info = Info(*item);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << item->Command();
        EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(cool));
    }
    EXPECT_TRUE(Info(*separator).fType & MFT_SEPARATOR);
    plain->SetChecked(true);
    exit->SetEnabled(false);
    plain->SetRadioItem(true);
    TMenuItem& later = change->Add(L"後から(&L)");
    for (TMenuItem* item : {plain, exit, &later})
        EXPECT_TRUE(Info(*item).fType & MFT_OWNERDRAW);
    EXPECT_TRUE(Info(*plain).fState & MFS_CHECKED);
    EXPECT_TRUE(Info(*plain).fType & MFT_RADIOCHECK);
    EXPECT_TRUE(Info(*exit).fState & MFS_DISABLED);
}

TEST_F(CoolMenuHook, MnemonicsOfTheBarAndOfASubmenu) {
    struct Case {
        HMENU menu;
        wchar_t key;
        WORD flags;
        LRESULT answer;
    };
    const HMENU bar = menu->Handle(), sub = file->SubMenu();
    const Case cases[] = {
        {bar, L'f', 0, MAKELONG(0, MNC_EXECUTE)},     {bar, L'C', 0, MAKELONG(1, MNC_EXECUTE)},
        {bar, L'q', 0, MAKELONG(0, MNC_IGNORE)},      {sub, L'a', MF_POPUP, MAKELONG(0, MNC_EXECUTE)},
        {sub, L'W', MF_POPUP, MAKELONG(2, MNC_EXECUTE)}, {sub, L'x', MF_POPUP, MAKELONG(3, MNC_EXECUTE)},
        {sub, L'-', MF_POPUP, MAKELONG(0, MNC_IGNORE)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageW(form->Handle(), WM_MENUCHAR, MAKEWPARAM(c.key, c.flags),
                               reinterpret_cast<LPARAM>(c.menu)),
                  c.answer)
            << static_cast<char>(c.key);
    // A submenu without MF_POPUP, or a foreign menu: the previous procedure answers.
    LRESULT answer = -1;
    EXPECT_FALSE(cool->MenuChar(MAKEWPARAM(L'a', 0), sub, answer));
    HMENU foreign = CreatePopupMenu();
    EXPECT_FALSE(cool->MenuChar(MAKEWPARAM(L'a', MF_POPUP), foreign, answer));
    DestroyMenu(foreign);
}

TEST_F(CoolMenuHook, MouseSelectionRaisesMenuSelectWithTheItemsHint) {
    TMenuItem* selected = nullptr;
    std::wstring hint;
    cool->OnMenuSelect = [&](TMenuItem& item, const std::wstring& text) {
        selected = &item;
        hint = text;
    };
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(add->Command(), MF_MOUSESELECT),
                 reinterpret_cast<LPARAM>(file->SubMenu()));
    EXPECT_EQ(selected, add);
    EXPECT_EQ(hint, L"グループを追加します");
    // A submenu entry is found by its submenu.
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(0, MF_MOUSESELECT | MF_POPUP),
                 reinterpret_cast<LPARAM>(menu->Handle()));
    EXPECT_EQ(selected, file);
    EXPECT_EQ(hint, L"");
    // From the keyboard nothing is raised.
    selected = nullptr;
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(exit->Command(), 0),
                 reinterpret_cast<LPARAM>(file->SubMenu()));
    EXPECT_EQ(selected, nullptr);
}

TEST_F(CoolMenuHook, RemovedImagesAndItemsAreForgotten) {
    EXPECT_EQ(cool->ImageIndexOf(*add), 12);
    EXPECT_EQ(cool->HintOf(*add), L"グループを追加します");
    form->Free(*images);
    EXPECT_EQ(cool->Images(), nullptr);
    EXPECT_EQ(cool->ImageIndexOf(*add), -1);
    for (int i = 0; i < cool->ItemImages.Count(); ++i)
        EXPECT_EQ(cool->ItemImages[i].ImageIndex(), -1);
    file->Free(*exit);
    EXPECT_EQ(cool->ItemImages[2].MenuItem, nullptr);
    EXPECT_EQ(cool->ItemImages[0].MenuItem, file);
    cool->ItemImages[0].SetImageIndex(-5);
    EXPECT_EQ(cool->ItemImages[0].ImageIndex(), -1);
}

TEST_F(CoolMenuHook, HooksOfTheDropTargetAndTheMenuComeOffInAnyOrder) {
    TFileDrop& drop = form->Own<TFileDrop>();
    drop.SetControl(nullptr);
    TMainCool& second = form->Own<TMainCool>();
    ASSERT_EQ(second.Hooked(), form->Handle());
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    // The drop target goes first, out of order: the menus still measure.
    form->Free(drop);
    EXPECT_EQ(Measure(*add).itemHeight, 20u);
    form->Free(second);
    form->Free(*cool);
    cool = nullptr;
    // Unhooked: nobody answers the measure request.
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = add->Command();
    measure.itemData = 1;
    SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 0u);
}

TEST_F(CoolMenuHook, AComponentNotOnAFormStaysUnhooked) {
    TComponent holder(nullptr);
    TMainCool& loose = holder.Own<TMainCool>();
    EXPECT_EQ(loose.Hooked(), nullptr);
}
} // namespace

namespace {
// The menu bar on screen: the mouse over an item of the active form.
class CoolMenuBar : public CoolMenuFixture {
  protected:
    void SetUp() override {
        CoolMenuFixture::SetUp();
        // The mouse away from the form, and the bar's last position forgotten.
        Hover({1000, 700}, HTCLIENT);
        form->SetBounds(50, 50, 400, 200);
        form->Show();
        SetForegroundWindow(form->Handle());
        SetActiveWindow(form->Handle());
        DrawMenuBar(form->Handle());
        UpdateWindow(form->Handle());
        Settle();
        Hover({1000, 700}, HTCLIENT);
    }
    // Until the showing and painting of the form are all handled.
    void Settle() {
        for (int quiet = 0, i = 0; quiet < 5 && i < 400; ++i) {
            app.ProcessMessages();
            quiet = GetQueueStatus(QS_ALLINPUT) == 0 ? quiet + 1 : 0;
            Sleep(5);
        }
    }
    RECT ItemRect(int position) {
        RECT r{};
        GetMenuItemRect(form->Handle(), menu->Handle(), position, &r);
        return r;
    }
    // The mouse moved over a point; the form is told as the system would tell it.
    void Hover(POINT at, WORD hitTest) {
        SetCursorPos(at.x, at.y);
        // The display takes the move in its own time, and may report an older
        // position once more: wait until the new one holds.
        POINT now{};
        for (int steady = 0, i = 0; steady < 10 && i < 400; ++i) {
            GetCursorPos(&now);
            steady = now.x == at.x && now.y == at.y ? steady + 1 : 0;
            Sleep(5);
        }
        ASSERT_EQ(now.x, at.x);
        ASSERT_EQ(now.y, at.y);
        SendMessageW(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                     MAKELPARAM(hitTest, WM_MOUSEMOVE));
    }
    void HoverItem(int position) {
        RECT r = ItemRect(position);
        Hover({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, HTMENU);
    }
    // A pixel of the form's window at a screen point.
    COLORREF ScreenPixel(int x, int y) {
        GdiFlush();
        RECT window;
        GetWindowRect(form->Handle(), &window);
        HDC dc = GetWindowDC(form->Handle());
        COLORREF c = GetPixel(dc, x - window.left, y - window.top);
        ReleaseDC(form->Handle(), dc);
        return c;
    }
    COLORREF TopLeft(int position) {
        RECT r = ItemRect(position);
        return ScreenPixel(r.left, r.top + 2);
    }
    COLORREF BottomRight(int position) {
        RECT r = ItemRect(position);
        return ScreenPixel(r.right - 1, r.bottom - 2);
    }
};

TEST_F(CoolMenuBar, OfficeStyleRaisesTheItemUnderTheMouseAndFlattensTheOneLeft) {
    ASSERT_EQ(GetActiveWindow(), form->Handle());
    cool->InActiveColor = RGB(200, 210, 220);
    const COLORREF flat = RGB(200, 210, 220);
    HoverItem(0);
    EXPECT_EQ(TopLeft(0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(BottomRight(0), GetSysColor(COLOR_BTNSHADOW));
    HoverItem(1);
    EXPECT_EQ(TopLeft(1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(TopLeft(0), flat);
    // Off the bar: the last one is flattened too.
    RECT bar = ItemRect(1);
    Hover({bar.left + 5, bar.bottom + 40}, HTCLIENT);
    EXPECT_EQ(TopLeft(1), flat);
}

TEST_F(CoolMenuBar, NoTrackingInWindowsStyleOverDisabledItemsOrWhileAMenuIsOpen) {
    cool->InActiveColor = RGB(200, 210, 220);
    struct Case {
        const char* what;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"windows style", [&] { cool->MenuStyle = TMenuStyle::msWindows; }},
        {"disabled item", [&] { change->SetEnabled(false); }},
        {"menu open", [&] { SendMessageW(form->Handle(), WM_ENTERMENULOOP, 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cool->MenuStyle = TMenuStyle::msOffice;
        change->SetEnabled(true);
        SendMessageW(form->Handle(), WM_EXITMENULOOP, 0, 0);
        // Raised and left again: drawn flat in the inactive colour.
        HoverItem(1);
        Hover({5, 5}, HTCLIENT);
        ASSERT_EQ(TopLeft(1), RGB(200, 210, 220));
        c.arrange();
        HoverItem(1);
        EXPECT_EQ(TopLeft(1), RGB(200, 210, 220));
    }
}
} // namespace

namespace {
// The item hint, shown and hidden as the hook does it.
class HintedMenu : public TMainCool {
  public:
    using TMainCool::TMainCool;
    using TCoolMenu::HideItemHint;
    using TCoolMenu::ShowItemHint;
};

TEST_F(CoolMenuHook, ItemHintShowsBelowTheCursorAndGoesAway) {
    HintedMenu& hinted = form->Own<HintedMenu>();
    SetCursorPos(300, 200);
    hinted.ShowItemHint(L"グループを追加します");
    HWND hint = FindWindowW(L"THintWindow", nullptr);
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(IsWindowVisible(hint));
    RECT r{};
    GetWindowRect(hint, &r);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200 + GetSystemMetrics(SM_CYCAPTION));
    EXPECT_GT(r.right - r.left, 6 + 40);
    wchar_t text[64] = {};
    GetWindowTextW(hint, text, 64);
    EXPECT_STREQ(text, L"グループを追加します");
    hinted.HideItemHint();
    EXPECT_FALSE(IsWindow(hint));
}
} // namespace
