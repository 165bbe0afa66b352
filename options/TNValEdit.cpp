#include "options/TNValEdit.h"

#include "framework/Handle.h"
#include "options/NumberText.h"

#include <windowsx.h>

#include <imm.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {
// 10 to the power e, converted from its decimal text so that it is the
// nearest value to the exact decimal number.
long double Pow10(int e) {
    std::wstring text = L"1.0e" + std::to_wstring(e);
    return std::wcstold(text.c_str(), nullptr);
}

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// The text rounded to `decimals` decimals and read back.
long double Rounded(long double value, int decimals) {
    long double rounded = 0;
    TextToNumber(FixedText(value, decimals, false), rounded);
    return rounded;
}

// Styles of a right-aligned number field: the system's multi-line edit is
// the one that aligns right on every Windows.
constexpr DWORD kStyle = ES_MULTILINE | ES_RIGHT | ES_AUTOHSCROLL;
} // namespace

TNValEdit::TNValEdit(TComponent* owner, TWinControl& parent, int left, int top, int width, int height)
    : TEdit(owner, parent, kStyle, left, top, width, height) {
    SetPrmtNegative(true);
    SetMaxDigits(9);
    SetFixDecimal(-1);
    SetLeadingChar(L' ');
    SetPutAComma(true);
}

void TNValEdit::Loaded() {
    TEdit::Loaded();
    pointEntered_ = false;
    decimalCount_ = 0;
    digitCount_ = 0;
    negativeEntered_ = false;
    mouseActivated_ = false;
    doubleClicked_ = false;
    watchText_ = false;
    SetValue(value_);
    savedValue_ = value_;
}

// ---- Display

void TNValEdit::Redisplay(long double v) {
    value_ = v;
    std::wstring text;
    if (v == 0 && !pointEntered_) {
        digitCount_ = 0;
        decimalCount_ = 0;
        if (zeroDisplay_) text = L"0";
    } else {
        text = FixedText(v, decimalCount_, putAComma_);
        // A point just typed stays visible.
        if (pointEntered_ && decimalCount_ == 0 && digitCount_ < maxDigits_) text += L'.';
    }
    text = Trimmed(text);
    bool leading = leadingChar_ > L' ' && (zeroDisplay_ || v != 0 || negativeEntered_ || pointEntered_);
    if (leading) text.insert(0, 1, leadingChar_);
    // A sign typed before any digit.
    if (v == 0 && negativeEntered_) text.insert(leading ? 1 : 0, 1, L'-');
    SetOwnText(text);
    CaretToEnd();
}

void TNValEdit::SetOwnText(const std::wstring& text) {
    watchText_ = false;
    SetText(text);
    watchText_ = true;
}

void TNValEdit::CaretToEnd() {
    int length = GetWindowTextLengthW(Handle());
    SendMessageW(Handle(), EM_SETSEL, length, length);
}

bool TNValEdit::HasSelection() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

void TNValEdit::ClearEntry(bool clearNegative) {
    value_ = 0;
    decimalCount_ = 0;
    pointEntered_ = false;
    digitCount_ = 0;
    if (clearNegative) negativeEntered_ = false;
}

long double TNValEdit::ParseText(const std::wstring& text) const {
    return ParseNumberText(text, leadingChar_);
}

// ---- Properties

long double TNValEdit::Clamped(long double x) const {
    long double magnitude = std::fabs(x), lowest, highest, beyond;
    if (fixDecimal_ > 0) {
        lowest = Pow10(-fixDecimal_);
        beyond = Pow10(maxDigits_ - fixDecimal_);
        highest = beyond - lowest;
    } else {
        lowest = Pow10(-(maxDigits_ - 1));
        beyond = Pow10(maxDigits_);
        highest = beyond - 1;
    }
    if (magnitude < lowest) return 0;
    if (magnitude > highest) return x < 0 ? -beyond : beyond;
    return x;
}

void TNValEdit::SetValue(long double x) {
    x = Clamped(x);
    std::wstring s = PlainText(std::fabs(x)), fraction;
    size_t point = s.find(L'.');
    if (fixDecimal_ == 0) {
        pointEntered_ = false;
    } else if (point != std::wstring::npos) {
        s = s.substr(0, maxDigits_ + 1);
        if (fixDecimal_ > 0 && s.size() > point + 1 + fixDecimal_) s.resize(point + 1 + fixDecimal_);
        fraction = point + 1 < s.size() ? s.substr(point + 1) : std::wstring();
        if (fraction.find_first_not_of(L'0') == std::wstring::npos) fraction.clear();
        if (point < s.size()) s.erase(point, 1);
        pointEntered_ = x != 0;
    } else {
        pointEntered_ = false;
    }
    if (x < 0 && !prmtNegative_) x = -x;
    decimalCount_ = fixDecimal_ >= 0 ? fixDecimal_ : 0;
    if (fixDecimal_ >= 0 && x != 0 && decimalCount_ > 0) pointEntered_ = true;
    long double limit = Pow10(maxDigits_ - decimalCount_) - Pow10(-decimalCount_);
    int integerDigits = static_cast<int>(s.size() - fraction.size());
    if (std::fabs(x) < limit) {
        if (fixDecimal_ == -1)
            decimalCount_ = std::min(maxDigits_ - integerDigits, static_cast<int>(fraction.size()));
        digitCount_ = integerDigits + decimalCount_;
    } else {
        // Too many digits: the largest number that fits, all nines.
        long double nines = Pow10(maxDigits_ - decimalCount_) - Pow10(-decimalCount_);
        x = x < 0 ? -nines : nines;
        if (decimalCount_ > 0) pointEntered_ = true;
        digitCount_ = maxDigits_;
    }
    negativeEntered_ = x < 0;
    Redisplay(x);
}

void TNValEdit::SetMaxDigits(int digits) {
    if (digits < 1 || digits > 15 || digits <= fixDecimal_) return;
    std::wstring plain = PlainText(std::fabs(value_));
    size_t point = plain.find(L'.');
    int decimals = point == std::wstring::npos ? 0 : static_cast<int>(plain.size() - point - 1);
    int needed = static_cast<int>(plain.size()) - (point == std::wstring::npos ? 0 : 1);
    if (fixDecimal_ > 0 && decimals < fixDecimal_) needed += fixDecimal_ - decimals;
    maxDigits_ = digits;
    if (needed > digits) SetValue(value_);
}

void TNValEdit::SetFixDecimal(int decimals) {
    fixDecimal_ = std::clamp(decimals, -1, maxDigits_ - 1);
    if (fixDecimal_ == -1) return;
    std::wstring plain = PlainText(std::fabs(value_));
    size_t point = plain.find(L'.');
    if (point != std::wstring::npos)
        plain.resize(std::min(plain.size(), point + 1 + fixDecimal_));
    else if (fixDecimal_ > 0)
        plain += L'.' + std::wstring(fixDecimal_, L'0');
    long double truncated = 0;
    TextToNumber(plain, truncated);
    SetValue(value_ < 0 ? -truncated : truncated);
}

void TNValEdit::SetPrmtNegative(bool permit) {
    prmtNegative_ = permit;
    if (!permit && value_ < 0) SetValue(-value_);
}

void TNValEdit::SetLeadingChar(wchar_t c) {
    if (c == 0) c = L' ';
    std::wstring text = Text();
    if (leadingChar_ > L' ')
        if (size_t at = text.find(leadingChar_); at != std::wstring::npos) text.erase(at, 1);
    if (c > L' ') text.insert(0, 1, c);
    leadingChar_ = c;
    if (text != Text()) SetOwnText(text);
}

void TNValEdit::SetZeroDisplay(bool show) {
    zeroDisplay_ = show;
    Redisplay(value_);
}

void TNValEdit::SetPutAComma(bool group) {
    putAComma_ = group;
    SetValue(value_);
}

void TNValEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

// ---- Keys

bool TNValEdit::KeyPress(wchar_t key) {
    if (OnKeyPress) OnKeyPress(key);
    if (key == 0) return false;
    switch (key) {
    case 3: // Ctrl+C: the edit copies.
        return true;
    case 22: // Ctrl+V, Ctrl+X, Ctrl+Z: the edit raises WM_PASTE, WM_CUT, WM_UNDO.
    case 24:
    case 26:
        return !readOnly_;
    }
    if (readOnly_) return false;
    if (key == L'-')
        MinusKey();
    else if (key == L'.')
        PointKey();
    else if (key >= L'0' && key <= L'9')
        DigitKey(key - L'0');
    return false;
}

void TNValEdit::MinusKey() {
    if (!prmtNegative_) {
        Beep();
        return;
    }
    if (HasSelection()) ClearEntry();
    negativeEntered_ = !negativeEntered_;
    Redisplay(-value_);
}

void TNValEdit::PointKey() {
    if (fixDecimal_ == 0) {
        pointEntered_ = false;
        decimalCount_ = 0;
        Beep();
        return;
    }
    if (HasSelection()) ClearEntry(false);
    if (digitCount_ >= maxDigits_) {
        Beep();
        return;
    }
    if (digitCount_ == 0) digitCount_ = 1;
    if (pointEntered_)
        Beep();
    else
        pointEntered_ = true;
    Redisplay(value_);
}

void TNValEdit::DigitKey(int d) {
    if (HasSelection()) {
        ClearEntry();
        Redisplay(0);
    }
    const int oldDecimals = decimalCount_, oldDigits = digitCount_;
    const bool wasZero = value_ == 0;
    const bool negative = value_ < 0 || negativeEntered_;
    long double n;
    if (!pointEntered_) {
        n = value_ * 10 + (negative ? -d : d);
    } else {
        ++decimalCount_;
        long double factor = 1;
        for (int i = 0; i < decimalCount_; ++i)
            factor *= 0.1L;
        n = negative ? value_ - d * factor : value_ + d * factor;
    }
    // The "0" in front of a first decimal counts as a digit.
    digitCount_ = decimalCount_ == 1 && wasZero ? 2 : digitCount_ + 1;
    if (digitCount_ > maxDigits_) {
        digitCount_ = maxDigits_;
        if (pointEntered_) decimalCount_ = oldDecimals;
        Beep();
        return;
    }
    if (!pointEntered_ && fixDecimal_ >= 0 && digitCount_ > maxDigits_ - fixDecimal_) {
        digitCount_ = maxDigits_ - fixDecimal_;
        Beep();
        return;
    }
    if (pointEntered_ && fixDecimal_ >= 0 && decimalCount_ > fixDecimal_) {
        decimalCount_ = fixDecimal_;
        digitCount_ = oldDigits;
        Beep();
        return;
    }
    Redisplay(Rounded(n, decimalCount_));
}

bool TNValEdit::KeyDown(WORD key) {
    switch (key) {
    case VK_BACK:
        if (!readOnly_) BackspaceKey();
        return true;
    case VK_RETURN:
        if (!EnterNext) break;
        MoveFocus(false);
        return true;
    case VK_ESCAPE:
        if (!readOnly_) SetValue(savedValue_);
        return true;
    case VK_HOME:
        SendMessageW(Handle(), EM_SETSEL, 0, -1);
        return true;
    case VK_LEFT:
        // The caret never moves into the number.
        return true;
    case VK_UP:
    case VK_DOWN:
        if (!ArrowNext) break;
        MoveFocus(key == VK_UP);
        return true;
    case VK_DELETE:
        if (!readOnly_ && HasSelection()) {
            ClearEntry();
            Redisplay(0);
        }
        return true;
    case VK_INSERT:
        // Shift+Insert pastes like Ctrl+V: the edit would insert the text as
        // it stands.
        if (!(GetKeyState(VK_SHIFT) & 0x8000) || (GetKeyState(VK_CONTROL) & 0x8000)) break;
        if (!readOnly_) Paste();
        return true;
    }
    if (OnKeyDown) OnKeyDown(key);
    return key == 0;
}

void TNValEdit::BackspaceKey() {
    if (HasSelection()) {
        ClearEntry();
        Redisplay(0);
    }
    if (digitCount_ <= 0) {
        ClearEntry();
        Redisplay(0);
        return;
    }
    // Works on the formatted number: "12." loses the point and the 2.
    std::wstring t = FixedText(value_, decimalCount_, false);
    t.pop_back();
    --digitCount_;
    if (decimalCount_ > 0) {
        --decimalCount_;
    } else {
        decimalCount_ = 0;
        pointEntered_ = false;
        negativeEntered_ = false;
    }
    long double n = 0;
    if (!t.empty() && t != L"-") TextToNumber(t, n);
    Redisplay(n);
}

void TNValEdit::MoveFocus(bool previous) {
    HWND form = GetAncestor(Handle(), GA_ROOT);
    SendMessageW(form, WM_NEXTDLGCTL, previous ? 1 : 0, 0);
}

// ---- Focus and mouse

void TNValEdit::GotFocus() {
    savedValue_ = value_;
    // Digits must arrive as plain characters, not through the input method.
    if (HIMC context = ImmGetContext(Handle())) {
        ImmSetOpenStatus(context, FALSE);
        ImmReleaseContext(Handle(), context);
    }
    if (AutoSelect && !mouseActivated_) SendMessageW(Handle(), EM_SETSEL, 0, -1);
    mouseActivated_ = false;
}

void TNValEdit::LostFocus() {
    savedValue_ = value_;
    mouseActivated_ = false;
    // A fixed number of decimals is filled up when the user leaves: 1.5 -> 1.50.
    if (fixDecimal_ > 0 && value_ != 0 && decimalCount_ != fixDecimal_) {
        digitCount_ = digitCount_ - decimalCount_ + fixDecimal_;
        decimalCount_ = fixDecimal_;
        pointEntered_ = true;
    }
    Redisplay(value_);
}

void TNValEdit::MouseUp() {
    if (!doubleClicked_) {
        DWORD start = 0, end = 0;
        SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        DWORD length = GetWindowTextLengthW(Handle());
        if (!(start == 0 && end == length)) CaretToEnd();
    }
    doubleClicked_ = false;
}

void TNValEdit::Paste() {
    long double pasted = 0;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(Handle())) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            GlobalLockGuard lock(data);
            if (auto* text = static_cast<const wchar_t*>(lock.get())) pasted = ParseText(text);
        }
        CloseClipboard();
    }
    // A paste always replaces the whole number.
    SetValue(pasted);
}

LRESULT TNValEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CHAR:
        if (!KeyPress(static_cast<wchar_t>(wParam))) return 0;
        break;
    case WM_KEYDOWN:
        if (KeyDown(static_cast<WORD>(wParam))) return 0;
        break;
    case WM_GETDLGCODE: {
        // Tab leaves the field as in any dialog; Enter and Escape stay here.
        LRESULT code = TEdit::WndProc(msg, wParam, lParam);
        auto* message = reinterpret_cast<const MSG*>(lParam);
        if (message && message->message == WM_KEYDOWN && message->wParam == VK_TAB) code &= ~DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFOCUS: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        GotFocus();
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        LostFocus();
        return result;
    }
    case WM_MOUSEACTIVATE: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        mouseActivated_ = true;
        return result;
    }
    case WM_LBUTTONDBLCLK: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        doubleClicked_ = true;
        return result;
    }
    case WM_LBUTTONUP: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        if (OnMouseUp) OnMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        MouseUp();
        return result;
    }
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CUT:
    case WM_CLEAR: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        SetValue(0);
        return result;
    }
    case WM_UNDO: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        SetValue(ParseText(Text()));
        return result;
    }
    case WM_SETTEXT: {
        LRESULT result = TEdit::WndProc(msg, wParam, lParam);
        // Text set from outside is read back and shown in the number's form.
        if (watchText_ && GetParent(Handle())) {
            SetValue(ParseText(Text()));
            CaretToEnd();
        }
        return result;
    }
    }
    return TEdit::WndProc(msg, wParam, lParam);
}
