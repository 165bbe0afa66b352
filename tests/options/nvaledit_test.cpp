// The numeric edit on a real Edit window: display format, keys, focus,
// clipboard, outside text and property setters.
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/Text.h"
#include "options/NumberText.h"
#include "options/TNValEdit.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
struct Config {
    int maxDigits = 4;
    int fixDecimal = 0;
    bool zeroDisplay = true;
    bool prmtNegative = false;
};
// As the options dialog sets up its offset fields.
const Config kOffset{};
const Config kFree{9, -1, false, true};
const Config kTwo{9, 2, false, true};
const Config kSigned{4, 0, false, true};

class NValEdit : public ::testing::Test {
  protected:
    void SetUp() override {
        owner = std::make_unique<TComponent>(nullptr);
        form = &owner->Own<TForm>();
        form->SetBounds(0, 0, 300, 120);
        form->Show();
    }
    void TearDown() override { owner.reset(); }

    TNValEdit& Make(const Config& c) {
        edit = &owner->Own<TNValEdit>(*form, 10, 10, 120);
        other = &owner->Own<TNValEdit>(*form, 10, 40, 120);
        edit->SetMaxDigits(c.maxDigits);
        edit->SetPrmtNegative(c.prmtNegative);
        edit->SetFixDecimal(c.fixDecimal);
        edit->SetZeroDisplay(c.zeroDisplay);
        edit->LoadedAll();
        edit->Beep = [this] { ++beeps; };
        return *edit;
    }
    // Characters go in as WM_CHAR; a few codes stand for keys and actions:
    // \b Backspace, \x1b Escape, \x7f Delete, \x01 select all, \x02 Home.
    void Type(const std::wstring& keys) {
        for (wchar_t k : keys) {
            HWND h = edit->Handle();
            switch (k) {
            case L'\b':
                SendMessageW(h, WM_KEYDOWN, VK_BACK, 0);
                break;
            case L'\x1b':
                SendMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
                break;
            case L'\x7f':
                SendMessageW(h, WM_KEYDOWN, VK_DELETE, 0);
                break;
            case L'\x01':
                SendMessageW(h, EM_SETSEL, 0, -1);
                break;
            case L'\x02':
                SendMessageW(h, WM_KEYDOWN, VK_HOME, 0);
                break;
            default:
                SendMessageW(h, WM_CHAR, k, 0);
            }
        }
    }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;
        SendMessageW(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    static void SetClipboard(const wchar_t* text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        if (text) {
            size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
            HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
            memcpy(GlobalLock(mem), text, bytes);
            GlobalUnlock(mem);
            SetClipboardData(CF_UNICODETEXT, mem);
        }
        CloseClipboard();
    }

    TApplication app;
    std::unique_ptr<TComponent> owner;
    TForm* form = nullptr;
    TNValEdit* edit = nullptr;
    TNValEdit* other = nullptr;
    int beeps = 0;
};

TEST_F(NValEdit, IsARightAlignedSystemEdit) {
    TNValEdit& e = Make(kOffset);
    wchar_t cls[32];
    GetClassNameW(e.Handle(), cls, 32);
    EXPECT_STREQ(cls, L"Edit");
    LONG style = GetWindowLongW(e.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_RIGHT);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_FALSE(style & (WS_VSCROLL | ES_AUTOVSCROLL));
}

TEST_F(NValEdit, ValuesShowInTheDisplayFormat) {
    struct Case {
        Config config;
        long double value;
        const wchar_t* text;
        long double stored;
    } cases[] = {
        {kOffset, 1234, L"1,234", 1234},   {kOffset, 999, L"999", 999},       {kOffset, 0, L"0", 0},
        {kOffset, 12345, L"9,999", 9999},  {kOffset, -5, L"5", 5},            {kFree, 0, L"", 0},
        {kFree, 1.5L, L"1.5", 1.5L},       {kFree, -1234.25L, L"-1,234.25", -1234.25L},
        {kFree, 1234567, L"1,234,567", 1234567},
        {kTwo, 1.5L, L"1.50", 1.5L},       {{4, 2, false, true}, 123.456L, L"99.99", 99.99L},
        {{3, 0, true, false}, 1000, L"999", 999},
    };
    for (const Case& c : cases) {
        TNValEdit& e = Make(c.config);
        e.SetValue(c.value);
        EXPECT_EQ(e.Text(), c.text) << static_cast<double>(c.value);
        EXPECT_NEAR(static_cast<double>(e.Value()), static_cast<double>(c.stored), 1e-9);
        owner->Free(*other);
        owner->Free(e);
    }
}

TEST_F(NValEdit, KeysBuildTheNumberAndRefusalsBeep) {
    struct Case {
        Config config;
        const wchar_t* keys;
        const wchar_t* text;
        int beeps;
    } cases[] = {
        {kOffset, L"1", L"1", 0},
        {kOffset, L"12", L"12", 0},
        {kOffset, L"123", L"123", 0},
        {kOffset, L"1234", L"1,234", 0},
        {kOffset, L"12345", L"1,234", 1},
        {kOffset, L".", L"0", 1},
        {kOffset, L"-", L"0", 1},
        {kOffset, L"ab ,+\r", L"0", 0},
        {kSigned, L"-", L"-", 0},
        {kSigned, L"-5", L"-5", 0},
        {kSigned, L"-5-", L"5", 0},
        {kFree, L".", L"0.", 0},
        {kFree, L".5", L"0.5", 0},
        {kFree, L"1..", L"1.", 1},
        {kTwo, L"1.5", L"1.5", 0},
        {kTwo, L"1.57", L"1.57", 0},
        {kTwo, L"1.578", L"1.57", 1},
        {kOffset, L"1234\b", L"123", 0},
        {kFree, L"12.\b", L"1", 0},
        {kFree, L"1.5\b", L"1.", 0},
        {kSigned, L"-1\b", L"", 0},
        {kOffset, L"-\b", L"0", 1},
        {kOffset, L"123\x01" L"7", L"7", 0},
        {kOffset, L"123\x01\x7f", L"0", 0},
        {kOffset, L"123\x7f", L"123", 0},
        {kOffset, L"123\x02" L"9", L"9", 0},
    };
    for (const Case& c : cases) {
        beeps = 0;
        TNValEdit& e = Make(c.config);
        Type(c.keys);
        EXPECT_EQ(e.Text(), c.text) << WideToUtf8(c.keys);
        EXPECT_EQ(beeps, c.beeps) << WideToUtf8(c.keys);
        // The caret always ends up behind the number.
        if (std::wstring(c.keys).find(L'\x02') == std::wstring::npos) {
            DWORD length = static_cast<DWORD>(e.Text().size());
            EXPECT_EQ(Selection(), std::make_pair(length, length)) << WideToUtf8(c.keys);
        }
        owner->Free(*other);
        owner->Free(e);
    }
}

TEST_F(NValEdit, FocusSelectsAllEscapeRestoresAndLeavingFillsTheDecimals) {
    TNValEdit& e = Make(kTwo);
    e.SetValue(5);
    SetFocus(e.Handle());
    ASSERT_EQ(GetFocus(), e.Handle());
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, static_cast<DWORD>(e.Text().size())));
    Type(L"1.5");
    EXPECT_EQ(e.Text(), L"1.5");
    Type(L"\x1b");
    EXPECT_EQ(e.Text(), L"5.00");
    Type(L"\x01" L"1.5");
    SetFocus(other->Handle());
    EXPECT_EQ(e.Text(), L"1.50");
    EXPECT_NEAR(static_cast<double>(e.SavedValue()), 1.5, 1e-9);
}

TEST_F(NValEdit, AClickPutsTheCaretAtTheEndAndADoubleClickKeepsItsSelection) {
    TNValEdit& e = Make(kOffset);
    e.SetValue(1234);
    SetFocus(other->Handle());
    const LPARAM at = MAKELPARAM(4, 4);
    SendMessageW(e.Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form->Handle()),
                 MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    SendMessageW(e.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(e.Handle(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(GetFocus(), e.Handle());
    EXPECT_EQ(Selection(), std::make_pair(DWORD{5}, DWORD{5}));

    SendMessageW(e.Handle(), EM_SETSEL, 1, 3);
    SendMessageW(e.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    auto picked = Selection();
    SendMessageW(e.Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Selection(), picked);
    // The next plain click moves the caret to the end again.
    SendMessageW(e.Handle(), EM_SETSEL, 1, 3);
    SendMessageW(e.Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{5}, DWORD{5}));
    // A whole selection stays whole.
    SendMessageW(e.Handle(), EM_SETSEL, 0, -1);
    SendMessageW(e.Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{5}));
}

TEST_F(NValEdit, CutPutsTheTextOnTheClipboardAndClearsTheNumber) {
    TNValEdit& e = Make(kOffset);
    e.SetValue(1234);
    SendMessageW(e.Handle(), EM_SETSEL, 0, -1);
    Type(L"\x18");
    EXPECT_EQ(static_cast<double>(e.Value()), 0);
    EXPECT_EQ(e.Text(), L"0");
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring cut = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(cut, L"1,234");
}

TEST_F(NValEdit, EnterAndArrowsMoveTheFocusOnlyWhenAsked) {
    TNValEdit& e = Make(kOffset);
    SetFocus(e.Handle());
    SendMessageW(e.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(GetFocus(), e.Handle());
    e.EnterNext = true;
    SendMessageW(e.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(GetFocus(), other->Handle());
    SetFocus(e.Handle());
    e.ArrowNext = true;
    SendMessageW(e.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(GetFocus(), other->Handle());
}

TEST_F(NValEdit, PasteReplacesTheNumberWithTheClipboardText) {
    struct Case {
        const wchar_t* clipboard;
        double value;
    } cases[] = {{L"12,345", 12345}, {L"1,23", 0},    {L"12a", 0},      {L"$12", 12},
                 {L"-3.25", -3.25},  {L"1,234.5", 1234.5}, {L"12,34,567", 0}, {nullptr, 0}};
    TNValEdit& e = Make(kFree);
    for (const Case& c : cases) {
        e.SetValue(77);
        SetClipboard(c.clipboard);
        SendMessageW(e.Handle(), WM_PASTE, 0, 0);
        EXPECT_NEAR(static_cast<double>(e.Value()), c.value, 1e-9) << (c.clipboard ? WideToUtf8(c.clipboard) : "");
    }
    // Shift+Insert pastes the same way (the edit would paste raw text).
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    for (const wchar_t* text : {L"ab", L"-50", L"12,345"}) {
        SetClipboard(text);
        e.SetValue(7);
        SendMessageW(e.Handle(), WM_PASTE, 0, 0);
        const std::wstring pasted = e.Text();
        e.SetValue(7);
        SendMessageW(e.Handle(), WM_KEYDOWN, VK_INSERT, 0);
        EXPECT_EQ(e.Text(), pasted) << WideToUtf8(text);
    }
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
    // Ctrl+V reaches the same paste through the edit itself.
    SetClipboard(L"4,321");
    Type(L"\x16");
    EXPECT_EQ(e.Text(), L"4,321");
    e.SetReadOnly(true);
    SetClipboard(L"9");
    Type(L"\x16" L"5");
    EXPECT_EQ(e.Text(), L"4,321");
}

TEST_F(NValEdit, TextSetFromOutsideIsNormalised) {
    TNValEdit& e = Make(kOffset);
    SetWindowTextW(e.Handle(), L"1234");
    EXPECT_EQ(e.Text(), L"1,234");
    EXPECT_EQ(static_cast<double>(e.Value()), 1234);
    SetWindowTextW(e.Handle(), L"12x");
    EXPECT_EQ(e.Text(), L"0");
    SendMessageW(e.Handle(), WM_CLEAR, 0, 0);
    EXPECT_EQ(static_cast<double>(e.Value()), 0);
}

TEST_F(NValEdit, PropertySettersAdjustTheValue) {
    TNValEdit& e = Make(kFree);
    e.SetValue(1234);
    e.SetMaxDigits(3);
    EXPECT_EQ(e.Text(), L"999");
    e.SetMaxDigits(20);
    EXPECT_EQ(e.MaxDigits(), 3);
    e.SetMaxDigits(9);
    e.SetValue(1.57L);
    e.SetFixDecimal(1);
    EXPECT_EQ(e.Text(), L"1.5");
    e.SetFixDecimal(0);
    EXPECT_EQ(e.Text(), L"1");
    e.SetFixDecimal(-1);
    e.SetValue(-5);
    e.SetPrmtNegative(false);
    EXPECT_EQ(e.Text(), L"5");
    e.SetValue(1234);
    e.SetLeadingChar(L'$');
    EXPECT_EQ(e.Text(), L"$1,234");
    SetWindowTextW(e.Handle(), L"$2,000");
    EXPECT_EQ(static_cast<double>(e.Value()), 2000);
    e.SetLeadingChar(0);
    EXPECT_EQ(e.Text(), L"2,000");
    e.SetPutAComma(false);
    EXPECT_EQ(e.Text(), L"2000");
    e.SetValue(0);
    EXPECT_EQ(e.Text(), L"");
    e.SetZeroDisplay(true);
    EXPECT_EQ(e.Text(), L"0");
}

TEST(NumberText, ParsingAndGrouping) {
    struct Case {
        const wchar_t* text;
        wchar_t leading;
        double value;
    } cases[] = {{L"", L' ', 0},          {L"1,234", L' ', 1234},   {L"1,234,567.5", L' ', 1234567.5},
                 {L",123", L' ', 0},      {L"1234,5", L' ', 0},     {L"12.3,4", L' ', 0},
                 {L"\\12", L' ', 12},     {L"#12", L'#', 12},       {L"$12", L'#', 0},
                 {L"-", L' ', 0},         {L"+7", L' ', 7},         {L"１２", L' ', 0}};
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<double>(ParseNumberText(c.text, c.leading)), c.value) << WideToUtf8(c.text);
    EXPECT_EQ(FixedText(-1234567.891L, 2, true), L"-1,234,567.89");
    EXPECT_EQ(FixedText(999, 0, true), L"999");
    EXPECT_EQ(PlainText(2.5L), L"2.5");
    EXPECT_EQ(PlainText(40), L"40");
}
} // namespace
