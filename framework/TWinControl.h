#pragma once
// A component that owns a window. Windows of our own classes bind their object
// at WM_NCCREATE; windows of system classes (common controls) are hooked with
// SetWindowSubclass. Either way every message reaches WndProc, which forwards
// what it does not consume, and exceptions never leave it.
#include "framework/Handle.h"
#include "framework/TComponent.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TPopupMenu;

enum class TAlign { None, Top, Bottom, Left, Right, Client };

class TWinControl : public TComponent {
  public:
    TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle() const { return handle_; }
    static TWinControl* FromHandle(HWND wnd);

    TWinControl* Parent() const { return parent_; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    RECT ClientRect() const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const;
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool enabled);

    std::wstring Text() const;
    void SetText(const std::wstring& text);

    // A font of the control's own, from a design's face and character height
    // in pixels (negative, as the designs give it); null until one is set.
    void SetFont(const std::wstring& face, int height, bool bold = false);
    HFONT Font() const { return font_.get(); }

    std::function<void()> OnResize;
    // Shown on a right click (or the menu key) over the control.
    TPopupMenu* PopupMenu = nullptr;

    // Lays the aligned children out in the client area: top, bottom, left,
    // right, then client, each group in order of creation. Not while the
    // design values are being set: Loaded lays them out once, at the end.
    void Realign();
    void Loaded() override;

    // A key pressed in a dialog, offered before the dialog manager sees it;
    // true when taken. By default offered to the visible, enabled children.
    virtual bool DialogKey(WPARAM key);

  protected:
    // Creates the window of one of our own classes (registered on first use).
    void CreateOwnWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent,
                         const std::wstring& text = L"", UINT classStyle = CS_DBLCLKS,
                         HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // Creates a window of a system class and hooks it.
    void CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle, TWinControl& parent,
                            const std::wstring& text = L"");
    void AttachParent(TWinControl& parent);

    // Every message of the window. Return the result; call DefaultHandler for
    // what the control does not consume.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

    // Notifications a parent reflects back to the child that sent them.
    virtual bool HandleCommand(WORD /*id*/, WORD /*code*/) { return false; }
    virtual bool HandleNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual bool HandleDrawItem(DRAWITEMSTRUCT& /*item*/) { return false; }
    // WM_CTLCOLORSTATIC: a control that colours itself sets up the DC and
    // answers the background brush.
    virtual bool HandleColor(HDC /*dc*/, LRESULT& /*brush*/) { return false; }

    virtual void Resized();

    // WM_PAINT (inside BeginPaint/EndPaint, so the window is valid afterwards)
    // and WM_PRINTCLIENT of a window of our own class; update is the part to
    // paint. System controls paint themselves.
    virtual void Paint(HDC /*dc*/, const RECT& /*update*/) {}
    // WM_CONTEXTMENU for this control at a screen point; false passes it on
    // to the parent. By default shows PopupMenu.
    virtual bool ContextMenu(POINT screen);
    // The current item of a control that has items, in client coordinates;
    // a menu asked for from the keyboard opens below it.
    virtual bool CurrentItemRect(RECT& /*item*/) const { return false; }

  private:
    static LRESULT CALLBACK OwnProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PaintMessage(UINT msg, WPARAM wParam);
    POINT KeyboardMenuPoint() const;
    void Detach();
    void ReadBounds();

    HWND handle_ = nullptr;
    bool subclassed_ = false;
    TWinControl* parent_ = nullptr;
    std::vector<TWinControl*> children_;
    TAlign align_ = TAlign::None;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool realigning_ = false;
    UniqueFont font_;
};
