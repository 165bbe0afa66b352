#pragma once
// Menus: the menu bar of a form, popup menus and their items. Each item has a
// command identifier from a process-wide pool; the window a menu was shown for
// hands its WM_COMMAND to DispatchCommand. A change to an item of a form's menu
// bar sends CM_MENUCHANGED to the form, so an owner-drawing component can
// register the items again.
#include "framework/Handle.h"
#include "framework/TComponent.h"

#include <functional>
#include <string>
#include <vector>

// Sent to the form whose menu bar changed.
constexpr UINT CM_MENUCHANGED = 0xB015;

enum class TMenuBreak { None, Break, BarBreak };

class TMainMenu;

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
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak value);
    // The shortcut shown right-aligned beside the caption.
    std::wstring ShortCutText() const { return shortCutText_; }
    void SetShortCutText(const std::wstring& text);

    // The item whose submenu holds this one; none for a top-level item.
    TMenuItem* Parent() const { return dynamic_cast<TMenuItem*>(Owner()); }
    // The menu component at the top of this item's tree.
    TComponent* Root() const;
    // A direct item of a form's menu bar.
    bool IsBarItem() const;
    // Position in the parent menu.
    int MenuIndex() const;

    UINT Command() const { return command_; }
    HMENU SubMenu() const { return subMenu_.get(); }
    HMENU ParentMenu() const { return parentMenu_; }

    std::function<void()> OnClick;
    void Click();

    // Runs the item a WM_COMMAND from a menu names; false for a command that
    // came from a control or an accelerator, or that names no item.
    static bool DispatchCommand(WPARAM wParam, LPARAM lParam);
    static TMenuItem* FindCommand(UINT command);

  private:
    void UpdateState();
    void UpdateType();
    void Changed();
    HMENU EnsureSubMenu();

    HMENU parentMenu_;
    UniqueMenu subMenu_;
    std::wstring caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool default_ = false;
    bool radioItem_ = false;
    TMenuBreak break_ = TMenuBreak::None;
    std::wstring shortCutText_;
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

    // The form showing this menu bar, told of changes; set by the form.
    HWND Window() const { return window_; }
    void SetWindow(HWND window) { window_ = window; }

  private:
    UniqueMenu menu_;
    std::vector<TMenuItem*> items_;
    HWND window_ = nullptr;
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
