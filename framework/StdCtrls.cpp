#include "framework/StdCtrls.h"

#include "framework/Handle.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"

#include <algorithm>

namespace {
// Size of a text in the font a window uses.
SIZE TextExtent(HWND wnd, const std::wstring& text) {
    SIZE size{};
    WindowDC dc(wnd);
    SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

// Draws a 16x16 picture: a tick or a cross in the colour given, on magenta
// (the transparent colour).
UniqueBitmap GlyphBitmap(TButtonGlyph glyph, COLORREF colour) {
    WindowDC screen(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
    SelectGuard selected(dc.get(), bitmap.get());
    RECT all{0, 0, 16, 16};
    UniqueBrush background(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc.get(), &all, background.get());
    UniquePen pen(CreatePen(PS_SOLID, 3, colour));
    SelectGuard pencil(dc.get(), pen.get());
    if (glyph == TButtonGlyph::Ok) {
        POINT tick[] = {{2, 8}, {6, 12}, {13, 3}};
        Polyline(dc.get(), tick, 3);
    } else {
        MoveToEx(dc.get(), 3, 3, nullptr);
        LineTo(dc.get(), 13, 13);
        MoveToEx(dc.get(), 13, 3, nullptr);
        LineTo(dc.get(), 3, 13);
    }
    return bitmap;
}

TForm* FormOf(TWinControl& control) {
    HWND root = GetAncestor(control.Handle(), GA_ROOT);
    return dynamic_cast<TForm*>(TWinControl::FromHandle(root));
}
} // namespace

LRESULT ControlColor(UINT msg, WPARAM wParam) {
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return 0;
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

TLabel::TLabel(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top)
    : TWinControl(owner) {
    SetBounds(left, top, 1, 1);
    CreateSystemWindow(L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, parent, caption);
    FitText();
}

void TLabel::SetColor(COLORREF color) {
    color_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    DWORD align = alignment == TAlignment::Center         ? SS_CENTER
                  : alignment == TAlignment::RightJustify ? SS_RIGHT
                                                          : SS_LEFT;
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, (style & ~static_cast<LONG>(SS_TYPEMASK)) | static_cast<LONG>(align));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    FitText();
}

void TLabel::FitText() {
    if (!autoSize_) return;
    SIZE size = TextExtent(Handle(), Text());
    SetBounds(Left(), Top(), size.cx, std::max<int>(size.cy, 12));
}

LRESULT TLabel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = TWinControl::WndProc(msg, wParam, lParam);
    // Sized to its text in whatever font it is given.
    if (msg == WM_SETFONT || msg == WM_SETTEXT) FitText();
    return result;
}

bool TLabel::HandleColor(HDC dc, LRESULT& brush) {
    SetTextColor(dc, color_);
    brush = ControlColor(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc));
    return true;
}

TButton::TButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top,
                 int width, int height)
    : TButton(owner, parent, caption, BS_PUSHBUTTON, left, top, width, height) {}

TButton::TButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, DWORD style, int left,
                 int top, int width, int height)
    : TWinControl(owner) {
    SetBounds(left, top, width, height);
    CreateSystemWindow(L"BUTTON", WS_VISIBLE | WS_TABSTOP | style, 0, parent, caption);
}

void TButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    SetWindowLongPtrW(Handle(), GWLP_ID, isDefault ? IDOK : 0);
    // An owner-drawn button keeps its style and draws the default outline itself.
    if ((GetWindowLongW(Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW)
        InvalidateRect(Handle(), nullptr, TRUE);
    else
        SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetCancel(bool isCancel) {
    SetWindowLongPtrW(Handle(), GWLP_ID, isCancel ? IDCANCEL : 0);
}

void TButton::SetGlyph(TButtonGlyph glyph) {
    BUTTON_IMAGELIST images{};
    if (glyph != TButtonGlyph::None) {
        glyphs_.reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 6, 0));
        COLORREF colour = glyph == TButtonGlyph::Ok ? RGB(0, 128, 0) : RGB(192, 0, 0);
        // One picture per button state: normal, hot, pressed, disabled (the
        // fourth), default, stylus hot. Each from a bitmap of its own: adding
        // one blackens its transparent pixels.
        for (int state = 1; state <= 6; ++state) {
            UniqueBitmap picture = GlyphBitmap(glyph, state == 4 ? GetSysColor(COLOR_GRAYTEXT) : colour);
            ImageList_AddMasked(glyphs_.get(), picture.get(), RGB(255, 0, 255));
        }
        images.himl = glyphs_.get();
        images.margin = {6, 0, 0, 0};
        images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    } else {
        images.himl = nullptr;
    }
    SendMessageW(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    if (glyph == TButtonGlyph::None) glyphs_.reset();
}

void TButton::Click() {
    if (ModalResult != 0)
        if (TForm* form = FormOf(*this)) form->SetModalResult(ModalResult);
    if (OnClick) OnClick();
}

LRESULT TButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = TWinControl::WndProc(msg, wParam, lParam);
    // A focused button is the one Enter presses, as in a dialog box.
    if (msg == WM_GETDLGCODE && GetFocus() == Handle())
        result = (result & ~DLGC_UNDEFPUSHBUTTON) | DLGC_DEFPUSHBUTTON;
    return result;
}

bool TButton::HandleCommand(WORD, WORD code) {
    if (code != BN_CLICKED) return false;
    Click();
    return true;
}

TCheckButton::TCheckButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, DWORD style,
                           int left, int top, int width, int height)
    : TWinControl(owner) {
    SetBounds(left, top, width, height);
    CreateSystemWindow(L"BUTTON", WS_VISIBLE | WS_TABSTOP | style, 0, parent, caption);
}

bool TCheckButton::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckButton::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckButton::HandleCommand(WORD, WORD code) {
    if (code != BN_CLICKED) return false;
    if (OnClick) OnClick();
    return true;
}

TCheckBox::TCheckBox(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top,
                     int width, int height)
    : TCheckButton(owner, parent, caption, BS_AUTOCHECKBOX, left, top, width, height) {}

TRadioButton::TRadioButton(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left,
                           int top, int width, int height)
    : TCheckButton(owner, parent, caption, BS_AUTORADIOBUTTON, left, top, width, height) {}

void TRadioButton::SetChecked(bool checked) {
    if (checked) {
        HWND parent = GetParent(Handle());
        for (HWND sibling = GetWindow(parent, GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT))
            if (sibling != Handle() && (GetWindowLongW(sibling, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    TCheckButton::SetChecked(checked);
}

TGroupBox::TGroupBox(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top,
                     int width, int height)
    : TWinControl(owner) {
    SetBounds(left, top, width, height);
    CreateOwnWindow(L"TapestraGroupBox", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                    parent.Handle());
    AttachParent(parent);
    // The frame is the system's group box, drawn behind the controls.
    CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, width, height,
                    Handle(), nullptr, ModuleInstance(), nullptr);
}

LRESULT TGroupBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT brush = ControlColor(msg, wParam)) return brush;
    return TWinControl::WndProc(msg, wParam, lParam);
}

TEdit::TEdit(TComponent* owner, TWinControl& parent, int left, int top, int width, int height)
    : TEdit(owner, parent, ES_LEFT | ES_AUTOHSCROLL, left, top, width, height) {}

TEdit::TEdit(TComponent* owner, TWinControl& parent, DWORD style, int left, int top, int width, int height)
    : TWinControl(owner) {
    SetBounds(left, top, width, height);
    CreateSystemWindow(L"EDIT", WS_VISIBLE | WS_TABSTOP | style, WS_EX_CLIENTEDGE, parent);
}

THotKey::THotKey(TComponent* owner, TWinControl& parent, int left, int top, int width, int height)
    : TWinControl(owner) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&classes);
    SetBounds(left, top, width, height);
    CreateSystemWindow(HOTKEY_CLASSW, WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, parent);
    SendMessageW(Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
}

WORD THotKey::HotKey() const {
    const WORD hotKey = LOWORD(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0));
    return LOBYTE(hotKey) ? hotKey : 0;
}

void THotKey::SetHotKey(WORD hotKey) {
    SendMessageW(Handle(), HKM_SETHOTKEY, hotKey, 0);
}

LRESULT THotKey::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The control would take Backspace as a key of its own; alone it empties
    // the field, as Delete does.
    if (msg == WM_KEYDOWN && wParam == VK_BACK && !(GetKeyState(VK_CONTROL) & 0x8000) &&
        !(GetKeyState(VK_MENU) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000)) {
        SetHotKey(0);
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
