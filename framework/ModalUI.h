#pragma once
// The one seam for modal user interface: message boxes, the warning dialog,
// the input box and the file dialogs. The default shows real windows; tests
// install a scripted one.
#include <windows.h>

#include <string>
#include <vector>

enum class TMsgDlgType { Warning, Error, Information, Confirmation };
enum TMsgDlgButton : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
enum TModalResult : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

struct TOpenDialogOptions {
    std::wstring Title;
    std::wstring Filter; // "name|pattern|name|pattern"
    std::wstring DefaultExt;
    int FilterIndex = 1;
    bool MultiSelect = true;
};

class IModalUI {
  public:
    virtual ~IModalUI() = default;
    // A plain box with the text and an OK button, captioned with the application title.
    virtual void ShowMessage(const std::wstring& text) = 0;
    // The error box of the application's default exception handler.
    virtual void ShowError(const std::wstring& text) = 0;
    // A message dialog with the given buttons; answers a TModalResult.
    virtual int MessageDlg(const std::wstring& text, TMsgDlgType type, unsigned buttons) = 0;
    // The input box: false when cancelled; value holds the default and the answer.
    virtual bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) = 0;
    // The open dialog: the chosen files, none when cancelled.
    virtual std::vector<std::wstring> OpenFiles(const TOpenDialogOptions& options) = 0;
};
