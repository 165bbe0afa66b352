#pragma once
// The owner-drawn menu a form places: hooks the form's window to route the
// menu's measure and draw messages, gives the menu bar a hot-tracking look in
// the Office style, answers the mnemonic keys of the owner-drawn items, shows
// per-item hints and keeps the registration in step when the menu changes.
#include "framework/TSubclass.h"
#include "widgets/TCoolMenu.h"

class TMainCool : public TCoolMenu {
  public:
    explicit TMainCool(TComponent* owner);

    void SetDefaultFont(bool value) override;
    // The form window hooked, or none.
    HWND Hooked() const { return hook_.Window(); }

    // The answer to WM_MENUCHAR; false when the previous procedure answers.
    bool MenuChar(WPARAM wParam, HMENU menu, LRESULT& answer) const;

  private:
    LRESULT FormProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void HotTrack(LPARAM lParam);
    void CursorRule(LPARAM lParam);
    LRESULT MenuSelectMessage(WPARAM wParam, LPARAM lParam);
    void EnterIdle();
    // A menu-bar item raised or flat, drawn through the form's window DC.
    void DrawBarItem(int position, bool raised);
    bool BarItemEnabled(int index) const;
    bool FormActive() const;
    TMenuItem* FindBySubMenu(HMENU subMenu) const;

    TSubclass hook_;
    // Positions of the bar item last under the cursor and the one before it.
    static int lastPosition_;
    static int previousPosition_;
};
