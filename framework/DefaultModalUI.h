#pragma once
// The modal UI as real windows, with Japanese captions and button texts on a
// Windows of any display language.
#include "framework/ModalUI.h"

class TDefaultModalUI : public IModalUI {
  public:
    void ShowMessage(const std::wstring& text) override;
    void ShowError(const std::wstring& text) override;
    int MessageDlg(const std::wstring& text, TMsgDlgType type, unsigned buttons) override;
    bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) override;
    std::vector<std::wstring> OpenFiles(const TOpenDialogOptions& options) override;
};

// The window that owns the application's modal boxes.
HWND ModalOwner();
