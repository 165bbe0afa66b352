#pragma once
// A page control: the system's tab control with one page window per tab.
// Only the active page is visible.
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

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

  private:
    friend class TTabSheet;
    // The pages fill the area below the tabs.
    void PlacePages();
    void ShowActivePage();

    std::vector<TTabSheet*> pages_;
};
