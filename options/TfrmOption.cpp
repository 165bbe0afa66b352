// The options dialog's handlers, in the order the dialog runs them.
#include "options/TfrmOption.h"

#include "framework/TApplication.h"

#include <cwchar>

namespace {
int TextToInt(const std::wstring& text) {
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}
} // namespace

void TfrmOption::FormShow() {
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2,
              Width(), Height());
    PageControl1->SetActivePageIndex(0);
    CheckBox6->SetChecked(options_.AutoRun);
    FileName->SetText(options_.AutoFile);
    CheckBox5->SetChecked(options_.Move);
    NValEdit1->SetValue(options_.XPos);
    NValEdit2->SetValue(options_.YPos);
    CheckBox1->SetChecked(options_.StartHidden);
    CheckBox2->SetChecked(options_.TimedChange);
    CheckBox3->SetChecked(options_.ChangeAtShutdown);
    CheckBox4->SetChecked(options_.ClearIcon);
    CheckBox7->SetChecked(options_.CenterTiles);
    NValEdit3->SetValue(options_.IntervalMinutes);
    // Any other stored method leaves the buttons as they were.
    switch (options_.ChangeMethod) {
    case TChangeMethod::Previous:
        RadioButton1->SetChecked(true);
        break;
    case TChangeMethod::Next:
        RadioButton2->SetChecked(true);
        break;
    case TChangeMethod::Random:
        RadioButton3->SetChecked(true);
        break;
    }
    CheckBox5Click();
    CheckBox2Click();
}

void TfrmOption::CheckBox2Click() {
    NValEdit3->SetEnabled(CheckBox2->Checked());
    // The method serves the timer and the change at the end of Windows.
    bool method = CheckBox2->Checked() || CheckBox3->Checked();
    RadioButton1->SetEnabled(method);
    RadioButton2->SetEnabled(method);
    RadioButton3->SetEnabled(method);
}

void TfrmOption::CheckBox5Click() {
    NValEdit1->SetEnabled(CheckBox5->Checked());
    NValEdit2->SetEnabled(CheckBox5->Checked());
}

int TfrmOption::OffsetFromText(const std::wstring& text) {
    if (text.size() >= 2 && text[1] == L',') return TextToInt(text.substr(0, 1) + text.substr(2, 3));
    return TextToInt(text);
}

void TfrmOption::BitBtn1Click() {
    options_.AutoFile = FileName->Text();
    options_.AutoRun = CheckBox6->Checked();
    options_.Move = CheckBox5->Checked();
    options_.XPos = OffsetFromText(NValEdit1->Text());
    options_.YPos = OffsetFromText(NValEdit2->Text());
    options_.StartHidden = CheckBox1->Checked();
    options_.TimedChange = CheckBox2->Checked();
    options_.ChangeAtShutdown = CheckBox3->Checked();
    options_.ClearIcon = CheckBox4->Checked();
    options_.CenterTiles = CheckBox7->Checked();
    // At most three digits: the milliseconds always fit the timer.
    options_.IntervalMinutes = TextToInt(NValEdit3->Text());
    if (RadioButton1->Checked())
        options_.ChangeMethod = TChangeMethod::Previous;
    else if (RadioButton2->Checked())
        options_.ChangeMethod = TChangeMethod::Next;
    else if (RadioButton3->Checked())
        options_.ChangeMethod = TChangeMethod::Random;

    // A failed write stops here; the dialog still closes with OK.
    TRegIniFile reg = OpenStore();
    options_.SaveConfirmed(reg);

    targets_.TrayIcon2.SetVisible(options_.ClearIcon);
    targets_.Timer1.SetInterval(static_cast<unsigned>(options_.IntervalMinutes) * 60000u);
    targets_.Timer1.SetEnabled(CheckBox2->Checked());
    targets_.K6.SetEnabled(CheckBox2->Checked());
    targets_.K6.SetChecked(false);
}

void TfrmOption::Button1Click() {
    TOpenDialogOptions dialog;
    dialog.Title = L"自動実行するプログラムは？";
    dialog.Filter = L"実行ファイル|*.exe";
    dialog.MultiSelect = false;
    std::vector<std::wstring> files = Application->ModalUI().OpenFiles(dialog);
    if (!files.empty()) FileName->SetText(files.front());
}

void TfrmOption::Button2Click() {
    std::wstring program(32768, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
    ShellLink1->SetFileName(program);
    ShellLink1->WorkDir = TShellLink::DirectoryOf(program);
    ShellLink1->CreateLink();
}
