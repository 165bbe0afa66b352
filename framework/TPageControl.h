#pragma once
// A page control: the system's tab control with one page window per tab.
// Only the active page is visible. The pages lie over the tab control as its
// siblings, just after it in the tab order, so the dialog manager stops on
// the tabs and then on the controls of the visible page.
#include "framework/TWinControl.h"

#include <string>
#include <vector>

class TPageControl;

// One page; controls placed on it use it as their parent.
class TTabSheet : public TWinControl {
  public:
    TTabSheet(TComponent* owner, TPageControl& pages, const std::wstring& caption);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class TPageControl : public TWinControl {
  public:
    TPageControl(TComponent* owner, TWinControl& parent, int left, int top, int width, int height);

    TTabSheet& AddPage(const std::wstring& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet& Page(int index) const { return *pages_.at(index); }
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

    // Ctrl+Tab and Ctrl+PageDown show the next page, Ctrl+Shift+Tab and
    // Ctrl+PageUp the previous one, from anywhere in the dialog.
    bool DialogKey(WPARAM key) override;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

  private:
    friend class TTabSheet;
    // The pages fill the area below the tabs.
    void PlacePages();
    RECT PageArea() const;
    void ShowActivePage();

    std::vector<TTabSheet*> pages_;
};
