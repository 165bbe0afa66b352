#pragma once
// Global hotkeys: keys that run a command from anywhere, registered with
// RegisterHotKey on a hidden window of the component's own and given back
// when they are replaced or the component goes. A key that another program
// holds is reported, not fatal: the others still work.
#include "framework/TWinControl.h"
#include "widgets/HotKeyText.h"

#include <functional>
#include <vector>

class THotKeys : public TWinControl {
  public:
    explicit THotKeys(TComponent* owner);
    ~THotKeys() override;

    // Registers these keys in place of the ones held now; a key of 0 is
    // skipped. Returns the ones that could not be registered, in the order
    // given: held by another program, or given twice in the list.
    std::vector<THotKeyBinding> Register(const std::vector<THotKeyBinding>& keys);
    // Gives every key back.
    void Unregister();
    // The keys held now.
    const std::vector<THotKeyBinding>& Registered() const { return registered_; }

    // A registered key was pressed.
    std::function<void(TProgramCommand)> OnHotKey;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // Key i is registered with the identifier i + 1.
    std::vector<THotKeyBinding> registered_;
};
