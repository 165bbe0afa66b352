#pragma once
// An icon in the notification area of the task bar. It keeps its picture and
// tip up to date with the shell and turns the shell's mouse notifications into
// events and popup menus. A single left click is reported only once the
// double-click interval has passed without a second click.
#include "framework/Handle.h"
#include "framework/MouseTypes.h"
#include "framework/TComponent.h"

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TPopupMenu;
class TSingleClick;

class TTrayIcon : public TComponent {
  public:
    // The message the shell sends to the callback window: wParam is the
    // icon's identifier, lParam the mouse message.
    static constexpr UINT CallbackMessage = WM_USER + 200;
    // The tip is cut to this many bytes of its code-page 932 text.
    static constexpr size_t MaxTipBytes = 62;

    // Raises Exception when 100 tray icons exist already.
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    void Loaded() override;
    void Notification(TComponent& component, TOperation operation) override;

    // The popup menus open by themselves on button-down.
    bool AutoPopup = true;

    // While false, every notification of this icon is ignored.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The icon owns a copy of what it is given; the caller keeps its handle.
    // Null empties the icon and takes it out of the tray.
    HICON Icon() const { return icon_.get(); }
    void SetIcon(HICON icon);

    TPopupMenu* LBPopupMenu() const { return lbPopupMenu_; }
    void SetLBPopupMenu(TPopupMenu* menu);
    TPopupMenu* RBPopupMenu() const { return rbPopupMenu_; }
    void SetRBPopupMenu(TPopupMenu* menu);

    const std::wstring& TipHelp() const { return tipHelp_; }
    void SetTipHelp(const std::wstring& tip);

    // Never true while the icon is empty.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;

    // The shell call (Shell_NotifyIconW); tests replace it to watch the
    // records. It is never empty.
    std::function<bool(DWORD message, NOTIFYICONDATAW& data)> NotifyShell;

    // The shell's id of this icon, unique among the living tray icons.
    UINT Identifier() const { return identifier_; }
    // The window the shell notifies; null while no tray icon exists.
    static HWND CallbackWindowHandle();

  private:
    friend class TCallbackWindow;
    enum class TUpdateMode { Add, Modify, Delete };

    static TTrayIcon* FindIcon(WPARAM identifier);
    static std::vector<UINT> Identifiers();

    void UpdateTrayIcon(TUpdateMode mode);
    void IconChanged();
    void TrayNotification(UINT mouseMessage);
    void MouseDown(TMouseButton button, int x, int y);
    void Popup(TMouseButton button, int x, int y);
    void SingleClick();
    void SingleClickDone(unsigned worker);
    void ShellRestarted();
    // Adds a visible icon that the shell refused before; false while it
    // still does.
    bool RetryAdd();

    UINT identifier_ = 0;
    bool enabled_ = true;
    bool visible_ = false;
    bool added_ = false;
    bool clickPending_ = false;
    UniqueIcon icon_;
    std::wstring tipHelp_ = L"TipHelp";
    TPopupMenu* lbPopupMenu_ = nullptr;
    TPopupMenu* rbPopupMenu_ = nullptr;
    NOTIFYICONDATAW data_{};
    // The single-click waits still running, by worker number.
    std::map<unsigned, std::unique_ptr<TSingleClick>> workers_;
};
