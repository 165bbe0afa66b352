// The input box: a caption, a prompt, one edit line, OK and "ｷｬﾝｾﾙ".
// Built from an in-memory dialog template so that it needs no resources.
#include "framework/DefaultModalUI.h"

#include "framework/TApplication.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {
enum { IDC_PROMPT = 100, IDC_VALUE = 101 };

class TemplateWriter {
  public:
    void Word(uint16_t w) { data_.push_back(w); }
    void DWord(uint32_t d) {
        Word(static_cast<uint16_t>(d & 0xFFFF));
        Word(static_cast<uint16_t>(d >> 16));
    }
    void Text(const std::wstring& s) {
        for (wchar_t c : s)
            Word(static_cast<uint16_t>(c));
        Word(0);
    }
    void AlignDWord() {
        if (data_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const std::wstring& text) {
        AlignDWord();
        DWord(style | WS_CHILD | WS_VISIBLE);
        DWord(0);
        Word(x), Word(y), Word(cx), Word(cy), Word(id);
        Word(0xFFFF), Word(atom);
        Text(text);
        Word(0);
    }
    const void* Data() {
        AlignDWord();
        return data_.data();
    }

  private:
    std::vector<uint16_t> data_;
};

struct InputState {
    std::wstring* value;
};

INT_PTR InputMessage(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dlg, DWLP_USER, lParam);
        auto* state = reinterpret_cast<InputState*>(lParam);
        SetDlgItemTextW(dlg, IDC_VALUE, state->value->c_str());
        SendDlgItemMessageW(dlg, IDC_VALUE, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dlg, IDC_VALUE));
        SetForegroundWindow(dlg);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dlg, DWLP_USER));
            HWND edit = GetDlgItem(dlg, IDC_VALUE);
            std::wstring text(GetWindowTextLengthW(edit) + 1, L'\0');
            text.resize(GetWindowTextW(edit, text.data(), static_cast<int>(text.size())));
            *state->value = text;
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK InputProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return InputMessage(dlg, msg, wParam, lParam);
    } catch (...) {
        // Never through the dialog manager: the box is closed as cancelled.
        EndDialog(dlg, IDCANCEL);
        if (Application) Application->HandleException(std::current_exception());
        return TRUE;
    }
}
} // namespace

bool TDefaultModalUI::InputQuery(const std::wstring& caption, const std::wstring& prompt,
                                 std::wstring& value) {
    TemplateWriter t;
    t.DWord(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.DWord(0);
    t.Word(4);               // items
    t.Word(0), t.Word(0);    // position
    t.Word(180), t.Word(64); // size in dialog units
    t.Word(0), t.Word(0);    // no menu, default class
    t.Text(caption);
    t.Word(9);
    t.Text(L"MS UI Gothic");
    t.Item(SS_LEFT, 6, 6, 168, 10, IDC_PROMPT, 0x0082, prompt);
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 18, 168, 12, IDC_VALUE, 0x0081, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 68, 42, 50, 14, IDOK, 0x0080, L"OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 124, 42, 50, 14, IDCANCEL, 0x0080, L"ｷｬﾝｾﾙ");
    std::wstring answer = value;
    InputState state{&answer};
    TModalScope modal;
    INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), static_cast<const DLGTEMPLATE*>(t.Data()),
                                ModalOwner(), InputProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    value = answer;
    return true;
}
