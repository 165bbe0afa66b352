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
    CheckBox6->SetChecked(current_.AutoRun);
    FileName->SetText(current_.AutoFile);
    CheckBox5->SetChecked(current_.Move);
    NValEdit1->SetValue(current_.XPos);
    NValEdit2->SetValue(current_.YPos);
    CheckBox1->SetChecked(current_.StartHidden);
    CheckBox2->SetChecked(current_.TimedChange);
    CheckBox3->SetChecked(current_.ChangeAtShutdown);
    CheckBox4->SetChecked(current_.ClearIcon);
    CheckBox7->SetChecked(current_.CenterTiles);
    NValEdit3->SetValue(current_.IntervalMinutes);
    // Any other stored method leaves the buttons as they were.
    switch (current_.ChangeMethod) {
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
    CheckBox8->SetChecked(current_.NoRepeat);
    CheckBox9->SetChecked(current_.FullScreenWait);
    // A mode outside the three (set in memory only) leaves them as they were.
    const auto monitors = static_cast<size_t>(current_.MonitorMode);
    if (monitors < MonitorButtons.size()) MonitorButtons[monitors]->SetChecked(true);
    for (int command = 0; command < hkCount; ++command)
        HotKeyFields[command]->SetHotKey(current_.HotKeys[command]);
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
    // What the dialog does not show stays as it is.
    ::Options edited = current_;
    edited.AutoFile = FileName->Text();
    edited.AutoRun = CheckBox6->Checked();
    edited.Move = CheckBox5->Checked();
    edited.XPos = OffsetFromText(NValEdit1->Text());
    edited.YPos = OffsetFromText(NValEdit2->Text());
    edited.StartHidden = CheckBox1->Checked();
    edited.TimedChange = CheckBox2->Checked();
    edited.ChangeAtShutdown = CheckBox3->Checked();
    edited.ClearIcon = CheckBox4->Checked();
    edited.CenterTiles = CheckBox7->Checked();
    // At most three digits: the milliseconds always fit the timer.
    edited.IntervalMinutes = TextToInt(NValEdit3->Text());
    if (RadioButton1->Checked())
        edited.ChangeMethod = TChangeMethod::Previous;
    else if (RadioButton2->Checked())
        edited.ChangeMethod = TChangeMethod::Next;
    else if (RadioButton3->Checked())
        edited.ChangeMethod = TChangeMethod::Random;
    edited.NoRepeat = CheckBox8->Checked();
    edited.FullScreenWait = CheckBox9->Checked();
    for (size_t i = 0; i < MonitorButtons.size(); ++i)
        if (MonitorButtons[i]->Checked()) edited.MonitorMode = static_cast<TMonitorMode>(i);
    for (int command = 0; command < hkCount; ++command)
        edited.HotKeys[command] = HotKeyFields[command]->HotKey();

    // A failure of whoever applies them is shown over the dialog, which
    // still closes with OK.
    if (OnConfirm) OnConfirm(edited);
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
