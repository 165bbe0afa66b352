#pragma once
// A form with a menu bar, the image strip and a TMainCool, and a memory
// bitmap the tests draw items into and read pixels from.
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/TImageList.h"
#include "framework/TMenu.h"
#include "support/FormFixture.h"
#include "support/ScriptedModalUI.h"
#include "widgets/TMainCool.h"

#include <gtest/gtest.h>

#include <memory>

class CoolMenuFixture : public FormFixture {
  protected:
    static constexpr int kWidth = 200, kHeight = 60;

    void SetUp() override {
        MakeForm();
        form->BeginLoading();
        images = &form->Own<TImageList>(L"IMAGES", 16, 16);
        menu = &form->Own<TMainMenu>();
        file = &menu->Add(L"ﾌｧｲﾙ(&F)");
        add = &file->Add(L"追加(&A)");
        separator = &file->Add(L"-");
        plain = &file->Add(L"WWW(&W)");
        exit = &file->Add(L"終了(&X)");
        change = &menu->Add(L"壁紙変更(&C)");
        form->SetMenu(menu);
        cool = &form->Own<TMainCool>();
        cool->SetImages(images);
        cool->SetMenu(menu);
        cool->AddItemImage(*file, 14);
        cool->AddItemImage(*add, 12, L"グループを追加します");
        cool->AddItemImage(*exit, 11);
        form->LoadedAll();

        screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
        Clear(RGB(1, 2, 3));
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        owner.reset();
    }

    void Clear(COLORREF colour) {
        for (int i = 0; i < kWidth * kHeight; ++i)
            bits[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    COLORREF Pixel(int x, int y) const {
        DWORD p = bits[y * kWidth + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of a colour inside a rectangle.
    int Count(const RECT& r, COLORREF colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += Pixel(x, y) == colour;
        return n;
    }

    // WM_DRAWITEM through the form's hook, into the memory bitmap.
    LRESULT Draw(TMenuItem& item, RECT rect, UINT state = 0) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = item.Command();
        draw.itemState = state;
        draw.hwndItem = reinterpret_cast<HWND>(item.ParentMenu());
        draw.hDC = dc;
        draw.rcItem = rect;
        draw.itemData = reinterpret_cast<ULONG_PTR>(cool);
        return SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    }
    MEASUREITEMSTRUCT Measure(TMenuItem& item) {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = item.Command();
        measure.itemData = reinterpret_cast<ULONG_PTR>(cool);
        SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        return measure;
    }

    TImageList* images = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *add = nullptr, *separator = nullptr, *plain = nullptr, *exit = nullptr,
              *change = nullptr;
    TMainCool* cool = nullptr;
    HDC screen = nullptr, dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
};
