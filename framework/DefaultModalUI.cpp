#include "framework/DefaultModalUI.h"

#include "framework/TApplication.h"
#include "framework/TForm.h"

#include <commdlg.h>

namespace {
// Renames the buttons of the next message box this thread shows, so their
// texts do not depend on the system's language.
class ButtonTexts {
  public:
    ButtonTexts() {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~ButtonTexts() {
        if (hook_) UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    ButtonTexts(const ButtonTexts&) = delete;
    ButtonTexts& operator=(const ButtonTexts&) = delete;

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && current_ && !current_->done_) {
            HWND box = reinterpret_cast<HWND>(wParam);
            SetDlgItemTextW(box, IDOK, L"OK");
            SetDlgItemTextW(box, IDYES, L"はい(&Y)");
            SetDlgItemTextW(box, IDNO, L"いいえ(&N)");
            SetDlgItemTextW(box, IDCANCEL, L"ｷｬﾝｾﾙ");
            current_->done_ = true;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline ButtonTexts* current_ = nullptr;
    HHOOK hook_ = nullptr;
    bool done_ = false;
};

std::wstring Title() {
    return Application ? Application->Title() : std::wstring();
}

int Box(const std::wstring& text, const std::wstring& caption, UINT flags) {
    TModalScope modal;
    ButtonTexts texts;
    return MessageBoxW(ModalOwner(), text.c_str(), caption.c_str(), flags | MB_SETFOREGROUND);
}
} // namespace

HWND ModalOwner() {
    // Boxes raised while a form is shown modally belong to that form.
    if (Application && Application->ModalForm()) return Application->ModalForm()->Handle();
    HWND active = GetActiveWindow();
    if (active) return active;
    if (Application && Application->MainForm() && IsWindowVisible(Application->MainForm()->Handle()))
        return Application->MainForm()->Handle();
    return Application ? Application->Handle() : nullptr;
}

void TDefaultModalUI::ShowMessage(const std::wstring& text) {
    Box(text, Title(), MB_OK);
}

void TDefaultModalUI::ShowError(const std::wstring& text) {
    Box(text, Title(), MB_OK | MB_ICONERROR);
}

int TDefaultModalUI::MessageDlg(const std::wstring& text, TMsgDlgType type, unsigned buttons) {
    UINT flags = MB_OK;
    if ((buttons & mbYes) && (buttons & mbNo))
        flags = (buttons & mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if ((buttons & mbOK) && (buttons & mbCancel))
        flags = MB_OKCANCEL;
    const wchar_t* caption = L"";
    switch (type) {
    case TMsgDlgType::Warning:
        flags |= MB_ICONWARNING;
        caption = L"警告";
        break;
    case TMsgDlgType::Error:
        flags |= MB_ICONERROR;
        caption = L"エラー";
        break;
    case TMsgDlgType::Information:
        flags |= MB_ICONINFORMATION;
        caption = L"情報";
        break;
    case TMsgDlgType::Confirmation:
        flags |= MB_ICONQUESTION;
        caption = L"確認";
        break;
    }
    return Box(text, caption, flags);
}

std::vector<std::wstring> TDefaultModalUI::OpenFiles(const TOpenDialogOptions& options) {
    std::wstring filter = options.Filter;
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    filter += L'\0';
    std::wstring buffer(65536, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = ModalOwner();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = options.FilterIndex;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = options.Title.c_str();
    ofn.lpstrDefExt = options.DefaultExt.empty() ? nullptr : options.DefaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                (options.MultiSelect ? OFN_ALLOWMULTISELECT : 0);
    std::vector<std::wstring> files;
    TModalScope modal;
    if (!GetOpenFileNameW(&ofn)) return files;
    // One name: the full path. Several: the folder, then each name.
    std::wstring first(buffer.c_str());
    const wchar_t* p = buffer.c_str() + first.size() + 1;
    if (*p == L'\0') {
        files.push_back(first);
        return files;
    }
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    for (; *p; p += wcslen(p) + 1)
        files.push_back(folder + p);
    return files;
}
