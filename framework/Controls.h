#pragma once
// The plain controls the forms are built from: panel, status bar, timer.
#include "framework/TWinControl.h"

#include <functional>

enum class TBevel { None, Raised, Lowered };

// A container with optional outer and inner bevels.
class TPanel : public TWinControl {
  public:
    TPanel(TComponent* owner, TWinControl& parent);
    TBevel BevelOuter = TBevel::Raised;
    TBevel BevelInner = TBevel::None;
    void SetBevels(TBevel outer, TBevel inner);

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& update) override;
};

// A status bar that shows one simple text, aligned to the bottom.
class TStatusBar : public TWinControl {
  public:
    TStatusBar(TComponent* owner, TWinControl& parent);
    std::wstring SimpleText() const { return text_; }
    void SetSimpleText(const std::wstring& text);
    // The system sizes the bar to its font; this makes it a design's height
    // (as long as the text fits).
    void SetBarHeight(int height);

  private:
    int MeasuredHeight() const;
    std::wstring text_;
};

// A timer that raises OnTimer every Interval milliseconds while enabled. An
// interval of 0 never fires.
class TTimer : public TWinControl {
  public:
    explicit TTimer(TComponent* owner);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::function<void()> OnTimer;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Restart();
    unsigned interval_ = 1000;
    bool enabled_ = true;
};
