#pragma once
// A one-line edit that holds a number instead of free text. The user never
// edits its characters: every key that would change the text is applied to a
// number-entry state, and the whole text is rebuilt from the number. It is
// the system's Edit window, hooked, so screen readers and the clipboard work.
#include "framework/StdCtrls.h"

#include <functional>

class TNValEdit : public TEdit {
  public:
    TNValEdit(TComponent* owner, TWinControl& parent, int left, int top, int width, int height = 21);

    void Loaded() override;

    // Most digits, integer and decimal together: 1 to 15.
    int MaxDigits() const { return maxDigits_; }
    void SetMaxDigits(int digits);
    bool PrmtNegative() const { return prmtNegative_; }
    void SetPrmtNegative(bool permit);
    // -1 free, 0 integers only, 1 to MaxDigits - 1 exactly that many decimals.
    int FixDecimal() const { return fixDecimal_; }
    void SetFixDecimal(int decimals);
    // Shown in front of the number; a space or control character is none.
    wchar_t LeadingChar() const { return leadingChar_; }
    void SetLeadingChar(wchar_t c);
    bool ZeroDisplay() const { return zeroDisplay_; }
    void SetZeroDisplay(bool show);
    long double Value() const { return value_; }
    void SetValue(long double x);
    bool PutAComma() const { return putAComma_; }
    void SetPutAComma(bool group);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    bool EnterNext = false;
    bool ArrowNext = false;
    bool AutoSelect = true;

    // The key-press step: the handler may change the character or cancel it (0).
    std::function<void(wchar_t& key)> OnKeyPress;
    // Keys that the control does not consume; the handler may cancel them (0).
    std::function<void(WORD& key)> OnKeyDown;
    std::function<void(int x, int y)> OnMouseUp;
    // How a refused key is signalled; tests count it.
    std::function<void()> Beep = [] { MessageBeep(0); };

    // The number-entry state, read by tests.
    int DigitCount() const { return digitCount_; }
    int DecimalCount() const { return decimalCount_; }
    bool PointEntered() const { return pointEntered_; }
    bool NegativeEntered() const { return negativeEntered_; }
    long double SavedValue() const { return savedValue_; }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Redisplay(long double v);
    void SetOwnText(const std::wstring& text);
    void CaretToEnd();
    bool HasSelection() const;
    // Starts the entry afresh; the point key keeps a pending sign.
    void ClearEntry(bool clearNegative = true);
    long double ParseText(const std::wstring& text) const;
    // Clamps a value to what the digits allow, keeping its sign.
    long double Clamped(long double x) const;

    bool KeyPress(wchar_t key);
    void MinusKey();
    void PointKey();
    void DigitKey(int d);
    bool KeyDown(WORD key);
    void BackspaceKey();
    void MoveFocus(bool previous);
    void GotFocus();
    void LostFocus();
    void MouseUp();
    void Paste();

    int maxDigits_ = 9;
    bool prmtNegative_ = true;
    int fixDecimal_ = -1;
    wchar_t leadingChar_ = L' ';
    bool zeroDisplay_ = false;
    long double value_ = 0;
    bool putAComma_ = true;
    bool readOnly_ = false;

    int digitCount_ = 0;
    int decimalCount_ = 0;
    bool pointEntered_ = false;
    bool negativeEntered_ = false;
    long double savedValue_ = 0;
    bool mouseActivated_ = false;
    bool doubleClicked_ = false;
    bool watchText_ = false;
};
