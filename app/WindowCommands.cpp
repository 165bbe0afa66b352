// The commands of the window and the tray that belong to no library or
// wallpaper command: showing and hiding, help, opening a file, the timer
// switch, the tray double-click, the version dialog, ending Windows.
#include "aboutlib/AboutShow.h"
#include "app/ProgramPaths.h"
#include "app/TTapestraMain.h"
#include "framework/TApplication.h"
#include "framework/Text.h"

#include <shellapi.h>

namespace {
// Ending the session needs the shutdown privilege on every NT-family Windows.
void EndWindows(UINT how) {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    ExitWindowsEx(how, 0);
}
} // namespace

void TTapestraMain::ToolButton1Click() {
    Application->Hide();
    Hide();
}

void TTapestraMain::KS1Click() {
    Application->Show(SW_SHOWDEFAULT);
    Show();
    SetForegroundWindow(Handle());
}

void TTapestraMain::ToolButton5Click() {
    const int row = FileList->Row();
    if (row == 0) return;
    ShellExecuteW(Handle(), L"open", Library.Row(row).c_str(), L"", L"", SW_SHOW);
}

void TTapestraMain::Contents1Click() {
    std::wstring help = ProgramPathWithExtension(L".hlp");
    // Without the file the help engine would only ask the user about it.
    if (GetFileAttributesW(help.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Application->ModalUI().ShowMessage(FormatText(L"ヘルプファイルが見つかりません。 [%s]", {help}));
        return;
    }
    WinHelpW(Handle(), help.c_str(), HELP_FINDER, 0);
}

void TTapestraMain::K6Click() {
    K6->SetChecked(!K6->Checked());
    Timer1->SetEnabled(!K6->Checked());
}

void TTapestraMain::Option2Click() {
    // The tray takes no commands while the dialog is open (a modal form), and
    // the hotkeys are given back: none runs behind the dialog, and its hotkey
    // fields can take the program's own keys. However it ends, they are
    // registered again.
    const std::array<WORD, hkCount> before = Options.HotKeys;
    const size_t held = HotKeys1->Registered().size();
    HotKeys1->Unregister();
    try {
        OptionDialog().ShowModal();
    } catch (...) {
        RegisterHotKeys();
        throw;
    }
    std::vector<THotKeyBinding> taken = RegisterHotKeys();
    // New keys that another program holds are said, and so is a key lost
    // while the dialog was open; the ones said at start-up are not said again.
    if (!taken.empty() && (Options.HotKeys != before || HotKeys1->Registered().size() < held))
        Application->ModalUI().ShowMessage(HotKeysTakenMessage(taken));
}

void TTapestraMain::TrayIcon1DblClick() {
    if (std::optional<TChange> change = ChangeOf(Options.TrayMode)) ChangeBy(*change);
}

void TTapestraMain::RunCommand(TProgramCommand command) {
    // While a modal window is up the commands wait as the tray's do; showing
    // the program brings that window to the front.
    if (Application->ModalWindowUp()) {
        if (command == TProgramCommand::Show) Application->ActivateFront();
        return;
    }
    switch (command) {
    case TProgramCommand::Next:
        cmdAfterClick();
        break;
    case TProgramCommand::Previous:
        cmdBeforClick();
        break;
    case TProgramCommand::Random:
        cmdRandomClick();
        break;
    case TProgramCommand::Clear:
        cmdNonClick();
        break;
    case TProgramCommand::Pause:
        SetPaused(true);
        break;
    case TProgramCommand::Resume:
        SetPaused(false);
        break;
    case TProgramCommand::Show:
        KS1Click();
        break;
    case TProgramCommand::Exit:
        Exit1Click();
        break;
    }
}

void TTapestraMain::Pause1Click() {
    SetPaused(!Options.Paused);
}

void TTapestraMain::SetPaused(bool paused) {
    Options.Paused = paused;
    ShowPaused();
    TRegIniFile reg = Store.OpenKey();
    Options.SavePaused(reg);
}

void TTapestraMain::ShowPaused() {
    Pause1->SetChecked(Options.Paused);
    popPause->SetChecked(Options.Paused);
    TrayIcon1->SetTipHelp(Options.Paused ? std::wstring(kTrayTip) + L" (一時停止中)" : kTrayTip);
}

std::vector<THotKeyBinding> TTapestraMain::RegisterHotKeys() {
    static constexpr TProgramCommand kCommands[hkCount] = {TProgramCommand::Next, TProgramCommand::Previous,
                                                           TProgramCommand::Random, TProgramCommand::Clear,
                                                           TProgramCommand::Pause};
    std::vector<THotKeyBinding> keys;
    for (int i = 0; i < hkCount; ++i)
        keys.push_back({kCommands[i], Options.HotKeys[i]});
    return HotKeys1->Register(keys);
}

void TTapestraMain::N10Click() {
    EndWindows(EWX_SHUTDOWN);
}
void TTapestraMain::N12Click() {
    EndWindows(EWX_REBOOT);
}

void TTapestraMain::A2Click() {
    // The library's dialog is modal for the program too.
    TModalScope modal;
    // The library takes its texts in Shift-JIS.
    AboutShow("Vintrel", "3.20", WideToCodePage(L"FW版", 932).c_str(), Image1.Icon());
}
