#pragma once
// The standard controls of dialogs: label, push button, check box, radio
// button, group box, a one-line edit and a hotkey field. Each is the system's own window,
// hooked, so keyboard, accessibility and themes behave as users expect.
#include "framework/Handle.h"
#include "framework/TWinControl.h"

#include <commctrl.h>

#include <functional>
#include <string>

enum class TAlignment { LeftJustify, Center, RightJustify };

// A text on its parent's background, in the font the form gives it or one of
// its own, in a colour, aligned in its bounds. With AutoSize (the default) it
// takes the size of its text on one line.
class TLabel : public TWinControl {
  public:
    TLabel(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top);

    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& caption) { SetText(caption); }
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleColor(HDC dc, LRESULT& brush) override;

  private:
    void FitText();

    COLORREF color_ = GetSysColor(COLOR_WINDOWTEXT);
    TAlignment alignment_ = TAlignment::LeftJustify;
    bool autoSize_ = true;
};

// The pictures a push button can carry beside its caption.
enum class TButtonGlyph { None, Ok, Cancel };

// A push button. A click first sets the form's modal result (when it has
// one), then raises OnClick: an error in OnClick still closes a modal form.
class TButton : public TWinControl {
  public:
    TButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top, int width,
            int height);
    // The button Enter presses; it takes the dialog identifier IDOK.
    void SetDefault(bool isDefault);
    bool Default() const { return default_; }
    // The button Escape presses; it takes the dialog identifier IDCANCEL.
    void SetCancel(bool isCancel);
    // A picture in two states, normal and disabled (greyed).
    void SetGlyph(TButtonGlyph glyph);
    int ModalResult = 0;
    std::function<void()> OnClick;
    // What a user's click does.
    void Click();

  protected:
    // A push button of another style, such as BS_OWNERDRAW for one that draws
    // itself.
    TButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, DWORD style, int left,
            int top, int width, int height);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleCommand(WORD id, WORD code) override;

  private:
    UniqueHandle<HIMAGELIST, ImageList_Destroy> glyphs_;
    bool default_ = false;
};

// A button with a check state: check box or radio button.
class TCheckButton : public TWinControl {
  public:
    bool Checked() const;
    // Only a user's click raises OnClick.
    virtual void SetChecked(bool checked);
    std::function<void()> OnClick;

  protected:
    TCheckButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, DWORD style, int left,
                 int top, int width, int height);
    bool HandleCommand(WORD id, WORD code) override;
};

// A check box that checks itself when clicked.
class TCheckBox : public TCheckButton {
  public:
    TCheckBox(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top, int width,
              int height = 17);
};

// A radio button; checking one clears the others of its parent.
class TRadioButton : public TCheckButton {
  public:
    TRadioButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top,
                 int width, int height = 17);
    void SetChecked(bool checked) override;
};

// A captioned frame that holds controls.
class TGroupBox : public TWinControl {
  public:
    TGroupBox(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top, int width,
              int height);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// A one-line edit with a sunken border.
class TEdit : public TWinControl {
  public:
    TEdit(TComponent* owner, TWinControl& parent, int left, int top, int width, int height = 21);

  protected:
    TEdit(TComponent* owner, TWinControl& parent, DWORD style, int left, int top, int width, int height);
};

// The system's hotkey field: it shows the key combination pressed in it. A
// key alone or with Shift only is taken with Ctrl+Alt, so the field never
// holds a key that would stop a plain keystroke elsewhere. Backspace and
// Delete empty it.
class THotKey : public TWinControl {
  public:
    THotKey(TComponent* owner, TWinControl& parent, int left, int top, int width, int height = 21);
    // As HKM_GETHOTKEY gives it: the virtual key in the low byte, HOTKEYF_*
    // flags in the high byte; 0 is none, and so are modifiers without a key.
    WORD HotKey() const;
    void SetHotKey(WORD hotKey);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// Paints the static texts and buttons of a container on its own background.
LRESULT ControlColor(UINT msg, WPARAM wParam);
