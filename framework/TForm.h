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

    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnClose;
    // Runs each time ShowModal shows the form, before it becomes visible.
    std::function<void()> OnShow;

    // Shows the form and runs its own message loop until a modal result is
    // set; the program's other windows take no input meanwhile, and the one
    // that was active owns the form. Answers the modal result (mrCancel when
    // the program ends meanwhile).
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void RunModalLoop();

    TMainMenu* menu_ = nullptr;
    int modalResult_ = 0;
    bool modal_ = false;
};
