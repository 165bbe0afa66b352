#pragma once
// A top-level window owned by the application window (so it has no taskbar
// button of its own). The first form created is the main form.
#include "framework/Handle.h"
#include "framework/TWinControl.h"

#include <functional>
#include <string>

class TMainMenu;

class TForm : public TWinControl {
  public:
    explicit TForm(TComponent* owner, DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    ~TForm() override;

    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& caption) { SetText(caption); }

    // Runs the close query, then OnClose; the main form's close ends the
    // application, another form is hidden.
    void Close();
    bool CloseQuery();

    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return menu_; }

    // Gives the form and every control on it this font (points at 96 DPI).
    void ApplyFont(const std::wstring& face, int points);
    HFONT Font() const { return font_.get(); }

    // Shows the form modally: the thread's other windows take no input until
    // ModalResult is set or the form closes (mrCancel then). The active window
    // owns the form meanwhile. Returns ModalResult.
    int ShowModal();
    int ModalResult = 0;

    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnClose;
    // The form is about to appear modally.
    std::function<void()> OnShow;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // Enter and Escape go to the control that answers to them; neither reaches
    // the form as a dialog command.
    bool ModalKey(const MSG& msg);

    TMainMenu* menu_ = nullptr;
    bool modal_ = false;
    UniqueFont font_;
};
