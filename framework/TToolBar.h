#pragma once
// A flat toolbar of image buttons with hints. Check buttons of one group
// behave like radio buttons: exactly one of them is down.
#include "framework/TImageList.h"
#include "framework/TWinControl.h"

#include <functional>
#include <string>
#include <vector>

enum class TToolButtonStyle { Button, CheckGroup };

class TToolBar;

class TToolButton : public TComponent {
  public:
    TToolButton(TComponent* owner, TToolBar& bar, int command);
    int Command() const { return command_; }
    bool Down() const;
    // Puts the button down or up; in a group the others come up by themselves.
    void SetDown(bool down);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::wstring Hint;
    std::function<void()> OnClick;

  private:
    TToolBar& bar_;
    int command_;
};

class TToolBar : public TWinControl {
  public:
    TToolBar(TComponent* owner, TWinControl& parent, TImageList& images, int buttonWidth, int buttonHeight);
    TToolButton& AddButton(int image, const std::wstring& hint, std::function<void()> onClick,
                           TToolButtonStyle style = TToolButtonStyle::Button);
    void AddSeparator();
    const std::vector<TToolButton*>& Buttons() const { return buttons_; }

  protected:
    bool HandleCommand(WORD id, WORD code) override;

  private:
    std::vector<TToolButton*> buttons_;
    int nextCommand_ = 1;
};
