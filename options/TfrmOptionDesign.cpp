// The options dialog's design: its controls with their design names, texts
// and positions (pixels at 96 DPI, left and top within their page).
#include "options/TfrmOption.h"

#include "framework/ModalUI.h"

namespace {
const wchar_t kCaption[] = L"ｵﾌﾟｼｮﾝ";
// The commands of the hotkeys in the order of THotKeyCommand, named as the
// menus name them.
const wchar_t* const kHotKeyLabels[hkCount] = {L"次のﾌｧｲﾙ", L"１つ前のﾌｧｲﾙ", L"ﾗﾝﾀﾞﾑ変更", L"壁紙の消去",
                                               L"一時停止"};
constexpr int kClientWidth = 361, kClientHeight = 265;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// A number field as the dialog uses them: non-negative integers, "0" for zero.
TNValEdit& NumberField(TComponent& owner, TWinControl& page, int left, int top, int width, int digits) {
    TNValEdit& field = owner.Own<TNValEdit>(page, left, top, width);
    field.SetMaxDigits(digits);
    field.SetPrmtNegative(false);
    field.SetFixDecimal(0);
    field.SetZeroDisplay(true);
    return field;
}

// Starts a new group for the arrow keys, so they stay among the radio
// buttons before it.
void StartGroup(TWinControl& control) {
    SetWindowLongW(control.Handle(), GWL_STYLE, GetWindowLongW(control.Handle(), GWL_STYLE) | WS_GROUP);
}
} // namespace

TfrmOption::TfrmOption(TComponent* owner, const ::Options& current)
    : TForm(owner, kStyle), current_(current) {
    CreateDesign();
}

void TfrmOption::CreateDesign() {
    BeginLoading();
    Name = L"frmOption";
    SetCaption(kCaption);
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_CONTROLPARENT);
    SetBounds(0, 0, frame.right - frame.left, frame.bottom - frame.top);

    Label1 = &Own<TLabel>(*this, L"動作環境", 6, 6);
    PageControl1 = &Own<TPageControl>(*this, 6, 26, 347, 192);
    PageControl1->Name = L"PageControl1";
    CreateGeneralPage();
    CreateWallpaperPage();
    CreateOtherPage();
    CreateMonitorPage();
    CreateHotKeyPage();

    BitBtn1 = &Own<TButton>(*this, L"設定する", 6, 225, 110, 33);
    BitBtn1->Name = L"BitBtn1";
    BitBtn1->SetDefault(true);
    BitBtn1->SetGlyph(TButtonGlyph::Ok);
    BitBtn1->ModalResult = mrOk;
    BitBtn1->OnClick = [this] { BitBtn1Click(); };
    BitBtn2 = &Own<TButton>(*this, L"ｷｬﾝｾﾙ", 242, 225, 109, 33);
    BitBtn2->Name = L"BitBtn2";
    BitBtn2->SetCancel(true);
    BitBtn2->SetGlyph(TButtonGlyph::Cancel);
    BitBtn2->ModalResult = mrCancel;

    ShellLink1 = &Own<TShellLink>();
    ShellLink1->Name = L"ShellLink1";
    ShellLink1->Description = L"Vintrel For Win95";
    ShellLink1->LinkType = TShellLinkType::lnkStartup;

    OnShow = [this] { FormShow(); };
    ApplyFont(L"ＭＳ Ｐゴシック", 9);
    LoadedAll();
}

void TfrmOption::CreateGeneralPage() {
    TabSheet1 = &PageControl1->AddPage(L"動作環境");
    TTabSheet& page = *TabSheet1;
    CheckBox1 = &Own<TCheckBox>(page, L"起動時には設定画面を表示しない。", 13, 13, 320);
    CheckBox4 = &Own<TCheckBox>(page, L"タスクトレイに壁紙消去のアイコンを表示する。", 13, 32, 320);
    CheckBox3 = &Own<TCheckBox>(page, L"Windows終了時に壁紙を変更する。", 13, 51, 320);
    CheckBox7 = &Own<TCheckBox>(page, L"壁紙を並べ替えの際に常に中央に壁紙を表示する。", 13, 70, 320);
    CheckBox3->OnClick = [this] { CheckBox2Click(); };
}

void TfrmOption::CreateWallpaperPage() {
    TabSheet2 = &PageControl1->AddPage(L"壁紙");
    TTabSheet& page = *TabSheet2;
    CheckBox2 = &Own<TCheckBox>(page, L"一定時間ごとに壁紙を変更する。", 13, 11, 210);
    CheckBox2->OnClick = [this] { CheckBox2Click(); };
    NValEdit3 = &NumberField(*this, page, 230, 5, 40, 3);
    NValEdit3->Name = L"NValEdit3";
    Own<TLabel>(page, L"分で変更", 274, 9);

    GroupBox1 = &Own<TGroupBox>(page, L"変更方法", 13, 32, 316, 86);
    RadioButton1 = &Own<TRadioButton>(*GroupBox1, L"一つ前の壁紙に変更", 12, 18, 140);
    RadioButton2 = &Own<TRadioButton>(*GroupBox1, L"１つ後ろの壁紙に変更", 160, 18, 150);
    RadioButton3 = &Own<TRadioButton>(*GroupBox1, L"ランダムに変更", 12, 40, 140);
    // Under the random method it serves, but always open: every random
    // change keeps it, from the menu, the tray and a hotkey as well.
    CheckBox8 = &Own<TCheckBox>(*GroupBox1, L"一巡するまで重複しない", 28, 61, 200);
    CheckBox8->Name = L"CheckBox8";
    StartGroup(*CheckBox8);

    CheckBox5 = &Own<TCheckBox>(page, L"壁紙の表示位置を変更する。", 13, 122, 250);
    CheckBox5->OnClick = [this] { CheckBox5Click(); };
    Own<TLabel>(page, L"左端から", 30, 142);
    NValEdit1 = &NumberField(*this, page, 83, 138, 50, 4);
    NValEdit1->Name = L"NValEdit1";
    Own<TLabel>(page, L"ドット", 137, 142);
    Own<TLabel>(page, L"上端から", 177, 142);
    NValEdit2 = &NumberField(*this, page, 230, 138, 50, 4);
    NValEdit2->Name = L"NValEdit2";
    Own<TLabel>(page, L"ドット", 284, 142);
}

void TfrmOption::CreateOtherPage() {
    TabSheet3 = &PageControl1->AddPage(L"その他");
    TTabSheet& page = *TabSheet3;
    CheckBox6 = &Own<TCheckBox>(page, L"壁紙変更後に、他のプログラムを実行する。", 6, 8, 320);
    CheckBox6->OnClick = [this] { CheckBox2Click(); };
    FileName = &Own<TEdit>(page, 19, 29, 270);
    FileName->Name = L"FileName";
    Button1 = &Own<TButton>(page, L"参照", 294, 27, 41, 25);
    Button1->Name = L"Button1";
    Button1->OnClick = [this] { Button1Click(); };
    CheckBox9 = &Own<TCheckBox>(page, L"全画面のﾌﾟﾛｸﾞﾗﾑの実行中は時間での変更を待つ", 6, 62, 320);
    CheckBox9->Name = L"CheckBox9";
    GroupBox2 = &Own<TGroupBox>(page, L"ショートカット作成", 24, 88, 200, 50);
    Button2 = &Own<TButton>(*GroupBox2, L"スタートアップ", 12, 17, 100, 25);
    Button2->Name = L"Button2";
    Button2->OnClick = [this] { Button2Click(); };
}

void TfrmOption::CreateMonitorPage() {
    TabSheet4 = &PageControl1->AddPage(L"ﾓﾆﾀｰ");
    GroupBox3 = &Own<TGroupBox>(*TabSheet4, L"複数のﾓﾆﾀｰ", 13, 11, 316, 86);
    const wchar_t* const labels[] = {L"すべてのﾓﾆﾀｰに同じ壁紙", L"ﾓﾆﾀｰごとに別の壁紙",
                                     L"1枚の壁紙を全ﾓﾆﾀｰに広げる"};
    for (size_t i = 0; i < MonitorButtons.size(); ++i)
        MonitorButtons[i] = &Own<TRadioButton>(*GroupBox3, labels[i], 12, 18 + 22 * static_cast<int>(i), 290);
}

void TfrmOption::CreateHotKeyPage() {
    TabSheet5 = &PageControl1->AddPage(L"ﾎｯﾄｷｰ");
    // Each label comes just before its field: the field takes its name.
    for (int command = 0; command < hkCount; ++command) {
        const int top = 12 + 27 * command;
        Own<TLabel>(*TabSheet5, kHotKeyLabels[command], 13, top + 4);
        HotKeyFields[command] = &Own<THotKey>(*TabSheet5, 110, top, 180);
    }
}
