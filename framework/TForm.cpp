#include "framework/TForm.h"

#include "framework/TApplication.h"
#include "framework/TMenu.h"

TForm::TForm(TComponent* owner, DWORD style) : TWinControl(owner) {
    CreateOwnWindow(L"TapestraForm", style, WS_EX_CONTROLPARENT,
                    Application ? Application->Handle() : nullptr);
    if (Application) Application->FormCreated(*this);
}

TForm::~TForm() {
    if (Application) Application->FormDestroyed(*this);
    if (menu_ && Handle()) ::SetMenu(Handle(), nullptr);
    DestroyComponents();
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    return canClose;
}

void TForm::Close() {
    if (!CloseQuery()) return;
    if (OnClose) OnClose();
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else {
        Hide();
    }
}

namespace {
BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
} // namespace

void TForm::ApplyFont(const std::wstring& face, int points) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, 96, 72);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    font_.reset(CreateFontIndirectW(&lf));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    EnumChildWindows(Handle(), SetChildFont, reinterpret_cast<LPARAM>(font_.get()));
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu_) menu_->SetWindow(nullptr);
    menu_ = menu;
    if (menu_) menu_->SetWindow(Handle());
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        // Menu items (of the menu bar and of popups shown for this form).
        if (lParam == 0 && HIWORD(wParam) == 0 && TMenuItem::DispatchCommand(LOWORD(wParam))) return 0;
        break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
