#include "framework/TWinControl.h"

#include "framework/Exception.h"
#include "framework/Fonts.h"
#include "framework/TApplication.h"
#include "framework/TMenu.h"
#include "framework/Text.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <set>

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {}

TWinControl::~TWinControl() {
    DestroyComponents();
    if (parent_) std::erase(parent_->children_, this);
    for (TWinControl* child : children_)
        child->parent_ = nullptr;
    if (handle_) {
        HWND wnd = handle_;
        DestroyWindow(wnd);
        // WM_NCDESTROY has unbound us; be sure for windows that never got it.
        Detach();
    }
}

namespace {
// Every bound window carries its object here, so a parent can find the child
// control that sent a notification.
const wchar_t kControlProp[] = L"TapestraControl";
} // namespace

TWinControl* TWinControl::FromHandle(HWND wnd) {
    return wnd ? static_cast<TWinControl*>(GetPropW(wnd, kControlProp)) : nullptr;
}

void TWinControl::CreateOwnWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent,
                                  const std::wstring& text, UINT classStyle, HBRUSH background) {
    static std::set<std::wstring> registered;
    HINSTANCE instance = ModuleInstance();
    if (!registered.contains(className)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = classStyle;
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.hIcon = LoadIconW(instance, L"MAINICON");
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw Exception(FormatText(L"ウィンドウクラス %s を登録できません", {className}));
        registered.insert(className);
    }
    if (!CreateWindowExW(exStyle, className, text.c_str(), style, left_, top_, width_, height_, parent,
                         nullptr, instance, this))
        throw Exception(FormatText(L"ウィンドウ %s を作成できません", {className}));
    ReadBounds();
}

void TWinControl::CreateSystemWindow(const wchar_t* className, DWORD style, DWORD exStyle,
                                     TWinControl& parent, const std::wstring& text) {
    handle_ = CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD, left_, top_, width_,
                              height_, parent.Handle(), nullptr, ModuleInstance(), nullptr);
    if (handle_) {
        subclassed_ = SetWindowSubclass(handle_, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
        SetPropW(handle_, kControlProp, this);
    }
    AttachParent(parent);
    ReadBounds();
}

void TWinControl::AttachParent(TWinControl& parent) {
    parent_ = &parent;
    parent.children_.push_back(this);
}

void TWinControl::Detach() {
    if (!handle_) return;
    RemovePropW(handle_, kControlProp);
    if (subclassed_)
        RemoveWindowSubclass(handle_, SubclassProc, 0);
    else
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    subclassed_ = false;
    handle_ = nullptr;
}

LRESULT CALLBACK TWinControl::OwnProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->handle_ = wnd;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        SetPropW(wnd, kControlProp, self);
    }
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
    LRESULT result = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) self->Detach();
    return result;
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
    auto* self = reinterpret_cast<TWinControl*>(data);
    if (msg == WM_NCDESTROY) {
        LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
        self->Detach();
        return result;
    }
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT TWinControl::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        // Reflect notifications to the child control that sent them.
        if (msg == WM_COMMAND && lParam) {
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
                child && child->HandleCommand(LOWORD(wParam), HIWORD(wParam)))
                return 0;
        } else if (msg == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            LRESULT result = 0;
            if (TWinControl* child = FromHandle(header->hwndFrom);
                child && child->HandleNotify(*header, result))
                return result;
        } else if (msg == WM_DRAWITEM) {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (TWinControl* child = item->CtlType == ODT_MENU ? nullptr : FromHandle(item->hwndItem);
                child && child->HandleDrawItem(*item))
                return TRUE;
        } else if (msg == WM_CTLCOLORSTATIC) {
            LRESULT brush = 0;
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
                child && child->HandleColor(reinterpret_cast<HDC>(wParam), brush))
                return brush;
        }
        return WndProc(msg, wParam, lParam);
    } catch (...) {
        if (Application) Application->HandleException(std::current_exception());
        return 0;
    }
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE || msg == WM_MOVE) {
        LRESULT result = DefaultHandler(msg, wParam, lParam);
        ReadBounds();
        if (msg == WM_SIZE) Resized();
        return result;
    }
    if ((msg == WM_PAINT || msg == WM_PRINTCLIENT) && !subclassed_) return PaintMessage(msg, wParam);
    if (msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == handle_) {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (pt.x == -1 && pt.y == -1) pt = KeyboardMenuPoint();
        if (ContextMenu(pt)) return 0;
    }
    // The window a menu was shown for gets its commands: a form for its menu
    // bar and popups, the tray's window for the tray menus.
    if (msg == WM_COMMAND && TMenuItem::DispatchCommand(wParam, lParam)) return 0;
    if (msg == WM_SETCURSOR && Application && Application->BusyCursor()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT TWinControl::PaintMessage(UINT msg, WPARAM wParam) {
    if (msg == WM_PRINTCLIENT) {
        Paint(reinterpret_cast<HDC>(wParam), ClientRect());
        return 0;
    }
    PaintGuard paint(handle_);
    if (paint.get()) Paint(paint.get(), paint.Area());
    return 0;
}

bool TWinControl::ContextMenu(POINT screen) {
    if (!PopupMenu) return false;
    // The form gets the menu's WM_COMMAND and runs the item.
    PopupMenu->Popup(screen.x, screen.y, GetAncestor(handle_, GA_ROOT));
    return true;
}

POINT TWinControl::KeyboardMenuPoint() const {
    // Never at the mouse pointer, which may be anywhere on the screen: below
    // the visible part of the current item, else inside the top left corner.
    RECT client = ClientRect();
    RECT item{};
    POINT pt{client.left + 2, client.top + 2};
    if (CurrentItemRect(item) && IntersectRect(&item, &item, &client)) pt = {item.left, item.bottom};
    ClientToScreen(handle_, &pt);
    return pt;
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (subclassed_) return DefSubclassProc(handle_, msg, wParam, lParam);
    return DefWindowProcW(handle_, msg, wParam, lParam);
}

void TWinControl::Resized() {
    Realign();
    if (OnResize) OnResize();
}

void TWinControl::ReadBounds() {
    if (!handle_) return;
    RECT r;
    GetWindowRect(handle_, &r);
    HWND parentWnd = (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) ? GetParent(handle_) : nullptr;
    if (parentWnd) MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_) MoveWindow(handle_, left, top, width, height, TRUE);
    ReadBounds();
    if (parent_ && align_ != TAlign::None) parent_->Realign();
}

RECT TWinControl::ClientRect() const {
    RECT r{};
    if (handle_) GetClientRect(handle_, &r);
    return r;
}

void TWinControl::SetAlign(TAlign align) {
    align_ = align;
    if (parent_) parent_->Realign();
}

bool TWinControl::Visible() const {
    return handle_ && IsWindowVisible(handle_);
}

void TWinControl::SetVisible(bool visible) {
    if (handle_) ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
    if (parent_ && align_ != TAlign::None) parent_->Realign();
}

bool TWinControl::Enabled() const {
    return handle_ && IsWindowEnabled(handle_);
}
void TWinControl::SetEnabled(bool enabled) {
    if (handle_) EnableWindow(handle_, enabled);
}

std::wstring TWinControl::Text() const {
    if (!handle_) return {};
    std::wstring text(GetWindowTextLengthW(handle_) + 1, L'\0');
    text.resize(GetWindowTextW(handle_, text.data(), static_cast<int>(text.size())));
    return text;
}

void TWinControl::SetText(const std::wstring& text) {
    if (handle_) SetWindowTextW(handle_, text.c_str());
}

void TWinControl::SetFont(const std::wstring& face, int height, bool bold) {
    font_ = CreateFontOf(face, height, bold);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void TWinControl::Loaded() {
    Realign();
}

bool TWinControl::DialogKey(WPARAM key) {
    for (TWinControl* child : children_)
        if (IsWindowVisible(child->handle_) && IsWindowEnabled(child->handle_) && child->DialogKey(key)) return true;
    return false;
}

void TWinControl::Realign() {
    if (!handle_ || realigning_ || Loading()) return;
    realigning_ = true;
    RECT area = ClientRect();
    auto place = [&](TAlign which) {
        for (TWinControl* child : children_) {
            if (child->align_ != which || !(GetWindowLongW(child->handle_, GWL_STYLE) & WS_VISIBLE)) continue;
            int w = child->width_, h = child->height_;
            RECT r{};
            switch (which) {
            case TAlign::Top:
                r = {area.left, area.top, area.right, area.top + h};
                area.top += h;
                break;
            case TAlign::Bottom:
                r = {area.left, area.bottom - h, area.right, area.bottom};
                area.bottom -= h;
                break;
            case TAlign::Left:
                r = {area.left, area.top, area.left + w, area.bottom};
                area.left += w;
                break;
            case TAlign::Right:
                r = {area.right - w, area.top, area.right, area.bottom};
                area.right -= w;
                break;
            default:
                r = area;
                break;
            }
            child->left_ = r.left;
            child->top_ = r.top;
            child->width_ = std::max<int>(0, r.right - r.left);
            child->height_ = std::max<int>(0, r.bottom - r.top);
            MoveWindow(child->handle_, child->left_, child->top_, child->width_, child->height_, TRUE);
        }
    };
    for (TAlign which : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client})
        place(which);
    realigning_ = false;
}
