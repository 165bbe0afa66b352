#include "framework/TToolBar.h"

#include <commctrl.h>

TToolButton::TToolButton(TComponent* owner, TToolBar& bar, int command)
    : TComponent(owner), bar_(bar), command_(command) {}

bool TToolButton::Down() const {
    return SendMessageW(bar_.Handle(), TB_ISBUTTONCHECKED, command_, 0) != 0;
}

void TToolButton::SetDown(bool down) {
    SendMessageW(bar_.Handle(), TB_CHECKBUTTON, command_, MAKELPARAM(down, 0));
}

bool TToolButton::Enabled() const {
    return SendMessageW(bar_.Handle(), TB_ISBUTTONENABLED, command_, 0) != 0;
}

void TToolButton::SetEnabled(bool enabled) {
    SendMessageW(bar_.Handle(), TB_ENABLEBUTTON, command_, MAKELPARAM(enabled, 0));
}

TToolBar::TToolBar(TComponent* owner, TWinControl& parent, TImageList& images, int buttonWidth,
                   int buttonHeight)
    : TWinControl(owner) {
    CreateSystemWindow(TOOLBARCLASSNAMEW,
                       WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                           CCS_NODIVIDER,
                       0, parent);
    SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Handle()));
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth, buttonHeight));
}

TToolButton& TToolBar::AddButton(int image, const std::wstring& hint, std::function<void()> onClick,
                                 TToolButtonStyle style) {
    TToolButton& button = Own<TToolButton>(*this, nextCommand_++);
    button.Hint = hint;
    button.OnClick = std::move(onClick);
    TBBUTTON tb{};
    tb.iBitmap = image;
    tb.idCommand = button.Command();
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = style == TToolButtonStyle::CheckGroup ? BTNS_CHECKGROUP : BTNS_BUTTON;
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
    // The toolbar made a tool for the button; give it its hint text.
    if (HWND tips = reinterpret_cast<HWND>(SendMessageW(Handle(), TB_GETTOOLTIPS, 0, 0));
        tips && !hint.empty()) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = Handle();
        info.uId = button.Command();
        info.lpszText = button.Hint.data();
        SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    buttons_.push_back(&button);
    return button;
}

void TToolBar::AddSeparator() {
    TBBUTTON tb{};
    tb.iBitmap = 6;
    tb.fsStyle = BTNS_SEP;
    SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
}

bool TToolBar::HandleCommand(WORD id, WORD) {
    for (TToolButton* button : buttons_)
        if (button->Command() == id) {
            if (button->OnClick) button->OnClick();
            return true;
        }
    return false;
}
