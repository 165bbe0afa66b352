#pragma once
// Menus: the menu bar of a form, popup menus and their items. Each item has a
// command identifier from a process-wide pool; the form (or window) that gets
// WM_COMMAND hands it to DispatchCommand.
#include "framework/Handle.h"
#include "framework/TComponent.h"

#include <functional>
#include <string>
#include <vector>

class TMenuItem : public TComponent {
  public:
    TMenuItem(TComponent* owner, HMENU parentMenu, const std::wstring& caption,
              std::function<void()> onClick);
    ~TMenuItem() override;

    // Appends an item to this item's submenu ("-" is a separator).
    TMenuItem& Add(const std::wstring& caption, std::function<void()> onClick = {});
    const std::vector<TMenuItem*>& Items() const { return items_; }

    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool IsSeparator() const { return caption_ == L"-"; }

    UINT Command() const { return command_; }
    HMENU SubMenu() const { return subMenu_.get(); }
    HMENU ParentMenu() const { return parentMenu_; }

    std::function<void()> OnClick;
    void Click();

    // Runs the item with this command identifier; false when there is none.
    static bool DispatchCommand(UINT command);
    static TMenuItem* FindCommand(UINT command);

  private:
    void UpdateState();
    HMENU EnsureSubMenu();

    HMENU parentMenu_;
    UniqueMenu subMenu_;
    std::wstring caption_;
    bool checked_ = false;
    bool enabled_ = true;
    UINT command_;
    std::vector<TMenuItem*> items_;
};

// The menu bar of a form.
class TMainMenu : public TComponent {
  public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    TMenuItem& Add(const std::wstring& caption, std::function<void()> onClick = {});
    const std::vector<TMenuItem*>& Items() const { return items_; }
    HMENU Handle() const { return menu_.get(); }

  private:
    UniqueMenu menu_;
    std::vector<TMenuItem*> items_;
};

// A popup menu shown at a point for a window.
class TPopupMenu : public TComponent {
  public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    TMenuItem& Add(const std::wstring& caption, std::function<void()> onClick = {});
    const std::vector<TMenuItem*>& Items() const { return items_; }
    HMENU Handle() const { return menu_.get(); }

    // Shows the menu at screen point (x, y); WM_COMMAND goes to owner.
    void Popup(int x, int y, HWND owner);
    std::function<void()> OnPopup;

  private:
    UniqueMenu menu_;
    std::vector<TMenuItem*> items_;
};
