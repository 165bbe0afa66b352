#pragma once
// Makes one window accept files dragged from the shell and reports each drop
// as one OnFileDrop event with the full names, in the shell's order, and the
// drop point in the window's client coordinates. The window is hooked while
// it is the target.
#include "framework/TComponent.h"
#include "framework/TSubclass.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

class TWinControl;

class TFileDrop : public TComponent {
  public:
    explicit TFileDrop(TComponent* owner);
    ~TFileDrop() override;

    // The target window; none means the form that owns this component.
    TWinControl* Control() const { return control_; }
    void SetControl(TWinControl* control);
    bool Accept() const { return accept_; }
    void SetAccept(bool value);

    std::function<void(TFileDrop& sender, int count, const std::vector<std::wstring>& names, POINT point)>
        OnFileDrop;

    void Loaded() override;
    void Notification(TComponent& component, TOperation operation) override;

  protected:
    virtual void DropFiles(HDROP drop);
    virtual void HookControl();
    virtual void UnhookControl();

  private:
    LRESULT TargetProc(UINT msg, WPARAM wParam, LPARAM lParam);
    HWND TargetHandle() const;

    TWinControl* control_ = nullptr;
    bool accept_ = true;
    TSubclass hook_;
};
