#pragma once
// Changes how every tool tip of the program looks: a rounded rectangle, a
// speech balloon, or painted by the owner. While active, each tool-tip window
// of the GUI thread is hooked by THintWindowHelper; at most one TCoolHint may
// exist.
#include "framework/Exception.h"
#include "framework/TComponent.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class THintWindowHelper;

enum class THintType { htOwnerDraw, htOwnerDrawTransparent, htBalloon, htRoundRect };

class EHintWindowError : public Exception {
    using Exception::Exception;
};

class TCoolHint : public TComponent {
  public:
    explicit TCoolHint(TComponent* owner);
    ~TCoolHint() override;

    bool Active() const { return active_; }
    void SetActive(bool active);
    THintType HintType = THintType::htOwnerDraw;

    // Owner-draw types: may change the hint's screen rectangle.
    std::function<void(RECT& rect, const std::wstring& hint)> OnActivate;
    // Owner-draw types: paints the hint window.
    std::function<void(HWND hintWindow, HDC dc)> OnPaint;

    // The living instance, or none.
    static TCoolHint* Current();

    void Loaded() override;

  private:
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static BOOL CALLBACK AttachExisting(HWND wnd, LPARAM self);
    // One helper per tool tip.
    void Hook(HWND toolTip);

    bool active_ = false;
    HHOOK creation_ = nullptr;
    std::vector<std::unique_ptr<THintWindowHelper>> helpers_;
};
