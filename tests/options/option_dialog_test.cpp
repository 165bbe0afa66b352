// The options dialog in-process on the main window, with the modal UI scripted.
#include "support/MainWindowFixture.h"

#include "framework/Text.h"

#include <functional>

namespace {
class OptionDialog : public MainWindowFixture {
  protected:
    TfrmOption& Dialog() { return main->OptionDialog(); }
    // The test program has no icon resources; the clear icon gets one here.
    static void ShowClearIcon(TTapestraMain& m) {
        m.TrayIcon2->SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
        m.TrayIcon2->SetVisible(true);
        ASSERT_TRUE(m.TrayIcon2->Visible());
    }
    static void Click(TWinControl* control) { SendMessageW(control->Handle(), BM_CLICK, 0, 0); }
    static void TypeInto(TWinControl* field, const std::wstring& keys) {
        PostMessageW(field->Handle(), EM_SETSEL, 0, -1);
        for (wchar_t k : keys)
            PostMessageW(field->Handle(), WM_CHAR, k, 0);
    }
    // A key pressed alone in a hotkey field: it takes it with Ctrl+Alt.
    static void PressAlone(TWinControl* field, BYTE key) {
        SendMessageW(field->Handle(), WM_KEYDOWN, key, 0);
        SendMessageW(field->Handle(), WM_KEYUP, key, 0xC0000000);
    }
    static WORD CtrlAlt(BYTE key) { return MAKEWORD(key, HOTKEYF_CONTROL | HOTKEYF_ALT); }
    // Runs the dialog modally: shown, looked at and changed as a user would,
    // then closed with one of its buttons.
    int RunDialog(const std::function<void(TfrmOption&)>& inside, TButton* TfrmOption::*close) {
        TfrmOption& d = Dialog();
        d.OnShow = [&] {
            d.FormShow();
            inside(d);
            PostMessageW((d.*close)->Handle(), BM_CLICK, 0, 0);
        };
        return d.ShowModal();
    }
};

TEST_F(OptionDialog, ShowFillsTheControlsFromMemory) {
    TTapestraMain& m = Start();
    m.Options.AutoRun = true;
    m.Options.AutoFile = L"C:\\Tools\\run.exe";
    m.Options.Move = true;
    m.Options.XPos = 1234;
    m.Options.YPos = 999;
    m.Options.StartHidden = true;
    m.Options.TimedChange = true;
    m.Options.ClearIcon = false;
    m.Options.CenterTiles = true;
    m.Options.IntervalMinutes = 15;
    m.Options.ChangeMethod = TChangeMethod::Random;
    TfrmOption& d = Dialog();
    d.PageControl1->SetActivePageIndex(2);
    d.FormShow();
    EXPECT_EQ(d.PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(d.Left(), (GetSystemMetrics(SM_CXSCREEN) - d.Width()) / 2);
    EXPECT_EQ(d.Top(), (GetSystemMetrics(SM_CYSCREEN) - d.Height()) / 2);
    EXPECT_TRUE(d.CheckBox6->Checked());
    EXPECT_EQ(d.FileName->Text(), L"C:\\Tools\\run.exe");
    EXPECT_TRUE(d.CheckBox5->Checked());
    EXPECT_EQ(d.NValEdit1->Text(), L"1,234");
    EXPECT_EQ(d.NValEdit2->Text(), L"999");
    EXPECT_TRUE(d.CheckBox1->Checked());
    EXPECT_TRUE(d.CheckBox2->Checked());
    EXPECT_FALSE(d.CheckBox3->Checked());
    EXPECT_FALSE(d.CheckBox4->Checked());
    EXPECT_TRUE(d.CheckBox7->Checked());
    EXPECT_EQ(d.NValEdit3->Text(), L"15");
    EXPECT_TRUE(d.RadioButton3->Checked());
    EXPECT_FALSE(d.RadioButton1->Checked());

    // A method outside 1 to 3 leaves the buttons as they were.
    m.Options.ChangeMethod = static_cast<TChangeMethod>(5);
    d.FormShow();
    EXPECT_TRUE(d.RadioButton3->Checked());
}

TEST_F(OptionDialog, TheDesignHasTheCaptionSizeAndPages) {
    TfrmOption& d = (Start(), Dialog());
    EXPECT_EQ(d.Caption(), L"ｵﾌﾟｼｮﾝ");
    RECT client = d.ClientRect();
    EXPECT_EQ(client.right, 361);
    EXPECT_EQ(client.bottom, 265);
    ASSERT_EQ(d.PageControl1->PageCount(), 5);
    EXPECT_EQ(d.TabSheet1->Text(), L"動作環境");
    EXPECT_EQ(d.TabSheet2->Text(), L"壁紙");
    EXPECT_EQ(d.TabSheet3->Text(), L"その他");
    EXPECT_EQ(d.TabSheet4->Text(), L"ﾓﾆﾀｰ");
    EXPECT_EQ(d.TabSheet5->Text(), L"ﾎｯﾄｷｰ");
    EXPECT_EQ(GetDlgCtrlID(d.BitBtn1->Handle()), IDOK);
    EXPECT_EQ(GetDlgCtrlID(d.BitBtn2->Handle()), IDCANCEL);
    EXPECT_EQ(d.NValEdit3->MaxDigits(), 3);
    EXPECT_EQ(d.NValEdit1->MaxDigits(), 4);
    EXPECT_FALSE(d.NValEdit1->PrmtNegative());
    EXPECT_EQ(d.NValEdit2->FixDecimal(), 0);
    EXPECT_EQ(d.ShellLink1->Description, L"Vintrel For Win95");
    EXPECT_EQ(d.ShellLink1->LinkType, TShellLinkType::lnkStartup);
    EXPECT_FALSE(d.Visible());
}

TEST_F(OptionDialog, EnablingRulesFollowTheCheckBoxes) {
    TTapestraMain& m = Start();
    m.Options.TimedChange = false;
    m.Options.ChangeAtShutdown = false;
    m.Options.Move = false;
    TfrmOption& d = Dialog();
    d.FormShow();
    EXPECT_FALSE(d.NValEdit3->Enabled());
    EXPECT_FALSE(d.RadioButton1->Enabled());
    EXPECT_FALSE(d.RadioButton3->Enabled());
    EXPECT_FALSE(d.NValEdit1->Enabled());
    EXPECT_TRUE(d.GroupBox1->Enabled());
    Click(d.CheckBox3);
    EXPECT_TRUE(d.RadioButton1->Enabled());
    EXPECT_TRUE(d.RadioButton2->Enabled());
    EXPECT_FALSE(d.NValEdit3->Enabled());
    Click(d.CheckBox3);
    Click(d.CheckBox2);
    EXPECT_TRUE(d.NValEdit3->Enabled());
    EXPECT_TRUE(d.RadioButton2->Enabled());
    Click(d.CheckBox5);
    EXPECT_TRUE(d.NValEdit1->Enabled());
    EXPECT_TRUE(d.NValEdit2->Enabled());
    Click(d.CheckBox6);
    EXPECT_TRUE(d.FileName->Enabled());
    EXPECT_TRUE(d.Button1->Enabled());
}

TEST_F(OptionDialog, StoreWritesTheRegistryAndAppliesTrayTimerAndSwitch) {
    TTapestraMain& m = Start();
    m.K6->SetChecked(true);
    ShowClearIcon(m);
    TfrmOption& d = Dialog();
    d.FormShow();
    d.FileName->SetText(L"C:\\Tools\\run.exe");
    Click(d.CheckBox6);
    Click(d.CheckBox5);
    d.NValEdit1->SetValue(1234);
    d.NValEdit2->SetValue(999);
    Click(d.CheckBox1);
    Click(d.CheckBox2);
    Click(d.CheckBox3);
    Click(d.CheckBox4);
    Click(d.CheckBox7);
    d.NValEdit3->SetValue(7);
    Click(d.RadioButton2);
    d.BitBtn1Click();

    const Options& o = m.Options;
    EXPECT_EQ(o.AutoFile, L"C:\\Tools\\run.exe");
    EXPECT_TRUE(o.AutoRun);
    EXPECT_TRUE(o.Move);
    EXPECT_EQ(o.XPos, 1234);
    EXPECT_EQ(o.YPos, 999);
    EXPECT_TRUE(o.StartHidden);
    EXPECT_TRUE(o.TimedChange);
    EXPECT_TRUE(o.ChangeAtShutdown);
    EXPECT_FALSE(o.ClearIcon);
    EXPECT_TRUE(o.CenterTiles);
    EXPECT_EQ(o.IntervalMinutes, 7);
    EXPECT_EQ(o.ChangeMethod, TChangeMethod::Next);
    struct Stored {
        const wchar_t* name;
        const wchar_t* value;
    } stored[] = {{L"中央表示", L"1"}, {L"起動設定", L"1"}, {L"時間", L"7"},    {L"終了", L"1"},
                  {L"時間変更", L"1"}, {L"変更方法", L"2"}, {L"一発消去", L"0"}, {L"XPos", L"1234"},
                  {L"YPos", L"999"},   {L"Move", L"1"}};
    for (const Stored& s : stored)
        EXPECT_EQ(Setting(s.name), s.value) << WideToUtf8(s.name);
    // The program to run reaches the store only when the program ends.
    EXPECT_FALSE(Setting(L"自動実行").has_value());
    EXPECT_FALSE(Setting(L"自動File").has_value());

    EXPECT_FALSE(m.TrayIcon2->Visible());
    EXPECT_EQ(m.Timer1->Interval(), 7u * 60000u);
    EXPECT_TRUE(m.Timer1->Enabled());
    EXPECT_TRUE(m.K6->Enabled());
    EXPECT_FALSE(m.K6->Checked());
    EXPECT_TRUE(modal->Errors.empty());

    // Switched back: the icon returns, the timer and its switch stop.
    Click(d.CheckBox4);
    Click(d.CheckBox2);
    d.BitBtn1Click();
    EXPECT_TRUE(m.TrayIcon2->Visible());
    EXPECT_FALSE(m.Timer1->Enabled());
    EXPECT_FALSE(m.K6->Enabled());
    EXPECT_EQ(Setting(L"時間変更"), L"0");
}

TEST_F(OptionDialog, AZeroIntervalIsStoredAndTheTimerNeverFires) {
    TTapestraMain& m = Start();
    m.Options.TimedChange = true;
    TfrmOption& d = Dialog();
    d.FormShow();
    d.NValEdit3->SetValue(0);
    EXPECT_EQ(d.NValEdit3->Text(), L"0");
    d.NValEdit3->SetValue(12345);
    EXPECT_EQ(d.NValEdit3->Text(), L"999");
    d.NValEdit3->SetValue(0);
    d.BitBtn1Click();
    EXPECT_EQ(Setting(L"時間"), L"0");
    EXPECT_EQ(m.Timer1->Interval(), 0u);
    EXPECT_TRUE(m.Timer1->Enabled());
    EXPECT_TRUE(m.K6->Enabled());
}

TEST_F(OptionDialog, OffsetsReadBackFromTheirText) {
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {{L"1,234", 1234}, {L"999", 999}, {L"0", 0}, {L"9,999", 9999}, {L"", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(TfrmOption::OffsetFromText(c.text), c.value) << WideToUtf8(c.text);
}

TEST_F(OptionDialog, ModalEnterStoresAndEscapeCancels) {
    TTapestraMain& m = Start();
    m.Options.IntervalMinutes = 10;
    m.Options.TimedChange = true;
    TfrmOption& d = Dialog();
    // Escape in the path field cancels: memory and store stay as they were.
    TypeInto(d.NValEdit3, L"42");
    PostMessageW(d.FileName->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(d.ShowModal(), mrCancel);
    EXPECT_EQ(d.NValEdit3->Text(), L"42");
    EXPECT_EQ(m.Options.IntervalMinutes, 10);
    EXPECT_FALSE(Setting(L"時間").has_value());
    EXPECT_FALSE(d.Visible());
    EXPECT_TRUE(IsWindowEnabled(m.Handle()));

    // The next showing starts from the unchanged settings; Enter on the
    // default button stores.
    TypeInto(d.NValEdit3, L"25");
    PostMessageW(d.BitBtn1->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(d.ShowModal(), mrOk);
    EXPECT_EQ(m.Options.IntervalMinutes, 25);
    EXPECT_EQ(Setting(L"時間"), L"25");
    EXPECT_EQ(m.Timer1->Interval(), 25u * 60000u);
}

TEST_F(OptionDialog, EnterPressesTheFocusedButton) {
    Start();
    TfrmOption& d = Dialog();
    d.OnShow = [&] {
        d.FormShow();
        d.PageControl1->SetActivePageIndex(2);
        PostMessageW(d.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(d.Button1->Handle()), TRUE);
        PostMessageW(d.Button1->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(d.BitBtn2->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(d.ShowModal(), mrCancel);
    EXPECT_EQ(modal->OpenDialogs.size(), 1u);
    EXPECT_FALSE(Setting(L"時間").has_value());
}

TEST_F(OptionDialog, TheMainWindowAndTrayTakeNoInputWhileOpen) {
    TTapestraMain& m = Start();
    TfrmOption& d = Dialog();
    bool mainEnabled = true;
    int trayDoubleClicks = 0;
    m.TrayIcon1->OnDblClick = [&] { ++trayDoubleClicks; };
    // Looked at from inside the modal loop, then the dialog is cancelled.
    d.OnShow = [&] {
        d.FormShow();
        PostMessageW(d.BitBtn2->Handle(), BM_CLICK, 0, 0);
    };
    d.NValEdit3->OnKeyPress = [&](wchar_t&) {
        mainEnabled = IsWindowEnabled(m.Handle());
        SendMessageW(TTrayIcon::CallbackWindowHandle(), TTrayIcon::CallbackMessage, m.TrayIcon1->Identifier(),
                     WM_LBUTTONDBLCLK);
    };
    PostMessageW(d.NValEdit3->Handle(), WM_CHAR, L'1', 0);
    m.Option2Click();
    EXPECT_FALSE(mainEnabled);
    EXPECT_EQ(trayDoubleClicks, 0);
    EXPECT_TRUE(IsWindowEnabled(m.Handle()));
    SendMessageW(TTrayIcon::CallbackWindowHandle(), TTrayIcon::CallbackMessage, m.TrayIcon1->Identifier(),
                 WM_LBUTTONDBLCLK);
    EXPECT_EQ(trayDoubleClicks, 1);
}

TEST_F(OptionDialog, TheNewerOptionsAreShownChangedAndStoredOnlyWhenConfirmed) {
    TTapestraMain& m = Start();
    // A value as the options hold it, as its control shows it and as the
    // store writes it; the change a user makes, and the value it gives.
    struct Case {
        std::wstring setting;
        std::function<void(Options&, int)> set;
        std::function<int(const Options&)> get;
        std::function<int(TfrmOption&)> shown;
        std::function<void(TfrmOption&)> change;
        int before, after;
    };
    auto checkBox = [](TCheckBox* TfrmOption::*box) {
        return [box](TfrmOption& d) { return static_cast<int>((d.*box)->Checked()); };
    };
    auto click = [](TCheckBox* TfrmOption::*box) { return [box](TfrmOption& d) { Click(d.*box); }; };
    std::vector<Case> cases = {
        {L"NoRepeat", [](Options& o, int v) { o.NoRepeat = v; },
         [](const Options& o) { return int(o.NoRepeat); }, checkBox(&TfrmOption::CheckBox8),
         click(&TfrmOption::CheckBox8), 1, 0},
        {L"FullScreenWait", [](Options& o, int v) { o.FullScreenWait = v; },
         [](const Options& o) { return int(o.FullScreenWait); }, checkBox(&TfrmOption::CheckBox9),
         click(&TfrmOption::CheckBox9), 1, 0},
        {L"Monitors", [](Options& o, int v) { o.MonitorMode = static_cast<TMonitorMode>(v); },
         [](const Options& o) { return static_cast<int>(o.MonitorMode); },
         [](TfrmOption& d) {
             int shown = -1;
             for (int i = 0; i < 3; ++i)
                 if (d.MonitorButtons[i]->Checked()) shown = shown == -1 ? i : -2;
             return shown;
         },
         [](TfrmOption& d) { Click(d.MonitorButtons[1]); }, 2, 1},
    };
    const wchar_t* const keyNames[hkCount] = {L"HotKeyNext", L"HotKeyPrev", L"HotKeyRandom", L"HotKeyClear",
                                              L"HotKeyPause"};
    for (int command = 0; command < hkCount; ++command) {
        const BYTE pressed = static_cast<BYTE>('A' + command);
        cases.push_back({keyNames[command], [command](Options& o, int v) { o.HotKeys[command] = WORD(v); },
                         [command](const Options& o) { return int(o.HotKeys[command]); },
                         [command](TfrmOption& d) { return int(d.HotKeyFields[command]->HotKey()); },
                         [command, pressed](TfrmOption& d) { PressAlone(d.HotKeyFields[command], pressed); },
                         MAKEWORD(VK_F5 + command, HOTKEYF_CONTROL | HOTKEYF_SHIFT), CtrlAlt(pressed)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.setting));
        c.set(m.Options, c.before);
        const std::optional<std::wstring> stored = Setting(c.setting);
        int shown = -1;
        auto lookAndChange = [&](TfrmOption& d) {
            shown = c.shown(d);
            c.change(d);
        };
        EXPECT_EQ(RunDialog(lookAndChange, &TfrmOption::BitBtn2), mrCancel);
        EXPECT_EQ(shown, c.before);
        EXPECT_EQ(c.get(m.Options), c.before) << "cancelled";
        EXPECT_EQ(Setting(c.setting), stored) << "cancelled";

        EXPECT_EQ(RunDialog(lookAndChange, &TfrmOption::BitBtn1), mrOk);
        EXPECT_EQ(shown, c.before) << "the cancelled change is not shown again";
        EXPECT_EQ(c.get(m.Options), c.after);
        EXPECT_EQ(Setting(c.setting), std::to_wstring(c.after));
    }
    EXPECT_TRUE(modal->Errors.empty());
}

TEST_F(OptionDialog, TheProgramsHotkeysAreGivenBackWhileItIsOpen) {
    SetSetting(L"HotKeyNext", std::to_wstring(CtrlAlt(VK_F9)));
    TTapestraMain& m = Start();
    // Of these keys, the ones someone holds: a key nobody holds can be taken.
    auto held = [] {
        std::vector<WORD> keys;
        for (WORD key : {CtrlAlt(VK_F9), CtrlAlt('R')}) {
            if (!RegisterHotKey(nullptr, 2, HotKeyModifiers(key), LOBYTE(key)))
                keys.push_back(key);
            else
                UnregisterHotKey(nullptr, 2);
        }
        return keys;
    };
    ASSERT_EQ(held(), std::vector<WORD>{CtrlAlt(VK_F9)});
    TfrmOption& d = Dialog();
    struct Case {
        const char* what;
        // Changes the dialog; true to confirm it, false to cancel.
        std::function<bool()> change;
        std::vector<WORD> heldAfter;
        bool said;
    } cases[] = {
        {"cancelled", [] { return false; }, {CtrlAlt(VK_F9)}, false},
        {"a new key",
         [&] {
             PressAlone(d.HotKeyFields[hkRandom], 'R');
             return true;
         },
         {CtrlAlt(VK_F9), CtrlAlt('R')}, false},
        {"a new key held elsewhere",
         [&] {
             PressAlone(d.HotKeyFields[hkPause], 'P');
             return true;
         },
         {CtrlAlt(VK_F9), CtrlAlt('R')}, true},
        {"the same keys again", [] { return true; }, {CtrlAlt(VK_F9), CtrlAlt('R')}, false},
    };
    // Ctrl+Alt+P belongs to another window from here on.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'P'));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        modal->Messages.clear();
        std::vector<WORD> heldWhileOpen{0};
        d.OnShow = [&] {
            d.FormShow();
            heldWhileOpen = held();
            TButton* close = c.change() ? d.BitBtn1 : d.BitBtn2;
            PostMessageW(close->Handle(), BM_CLICK, 0, 0);
        };
        m.Option2Click();
        EXPECT_TRUE(heldWhileOpen.empty());
        EXPECT_EQ(held(), c.heldAfter);
        ASSERT_EQ(modal->Messages.size(), c.said ? 1u : 0u);
        if (c.said) {
            EXPECT_NE(modal->Messages[0].find(L"（一時停止）"), std::wstring::npos);
        }
    }
    UnregisterHotKey(nullptr, 1);
}

TEST_F(OptionDialog, AFailedWriteIsShownSkipsTheRestAndStillCloses) {
    TTapestraMain& m = Start();
    m.Options.TimedChange = false;
    m.Options.ClearIcon = true;
    ShowClearIcon(m);
    TfrmOption& d = Dialog();
    // A key name longer than the registry allows cannot be created.
    const std::wstring broken = std::wstring(testreg::kProgram) + L"\\" + std::wstring(300, L'k');
    m.Store.OpenKey = [&] { return TRegIniFile(HKEY_CURRENT_USER, broken); };
    d.OnShow = [&] {
        d.FormShow();
        d.CheckBox4->SetChecked(false);
        d.CheckBox2->SetChecked(true);
        d.NValEdit3->SetValue(30);
        PostMessageW(d.BitBtn1->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(d.ShowModal(), mrOk);
    ASSERT_EQ(modal->Errors.size(), 1u);
    EXPECT_EQ(modal->Errors[0], L"ｷｰ " + broken + L" の作成に失敗しました");
    EXPECT_EQ(modal->Owners[0], d.Handle());
    // Memory took the values; tray and timer were not touched.
    EXPECT_EQ(m.Options.IntervalMinutes, 30);
    EXPECT_FALSE(m.Options.ClearIcon);
    EXPECT_TRUE(m.TrayIcon2->Visible());
    EXPECT_FALSE(m.Timer1->Enabled());
    EXPECT_FALSE(Setting(L"時間").has_value());
}

TEST_F(OptionDialog, BrowseFillsThePathAndIsOwnedByTheDialog) {
    Start();
    TfrmOption& d = Dialog();
    d.FileName->SetText(L"C:\\old.exe");
    modal->FileAnswers.push_back({});
    modal->FileAnswers.push_back({L"C:\\Program Files\\新しい\\run.exe"});
    d.OnShow = [&] {
        d.Button1Click();
        EXPECT_EQ(d.FileName->Text(), L"C:\\old.exe");
        d.Button1Click();
        d.SetModalResult(mrCancel);
    };
    d.ShowModal();
    EXPECT_EQ(d.FileName->Text(), L"C:\\Program Files\\新しい\\run.exe");
    ASSERT_EQ(modal->OpenDialogs.size(), 2u);
    EXPECT_EQ(modal->OpenDialogs[0].Title, L"自動実行するプログラムは？");
    EXPECT_EQ(modal->OpenDialogs[0].Filter, L"実行ファイル|*.exe");
    EXPECT_FALSE(modal->OpenDialogs[0].MultiSelect);
    EXPECT_EQ(modal->Owners[0], d.Handle());
}
} // namespace
