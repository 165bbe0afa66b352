// The main window's design: its components with their design names and values.
#include "app/TTapestraMain.h"
#include "base/FullScreen.h"
#include "library/StoreNames.h"
#include "wallpaper/ApplyStep.h"
#include "wallpaper/DesktopMonitors.h"

namespace {
const wchar_t kCaption[] = L"Vintrel Ver3.20 For Windows98";

// Indexes into the image list.
enum Image {
    imgGroup = 0,
    imgGroupSelected = 1,
    imgCenter = 2,
    imgTile = 3,
    imgStretch = 4,
    imgClear = 5,
    imgPrevious = 6,
    imgNext = 7,
    imgRandom = 8,
    imgHelp = 9,
    imgDelete = 10,
    imgClose = 11,
    imgAdd = 12,
    imgFileMenu = 14,
    imgOpen = 15,
    imgFill = 16,
    imgFit = 17,
};
} // namespace

TTapestraMain::TTapestraMain(TComponent* owner) : TForm(owner) {
    CreateDesign();
    FormCreate();
    startTrace_.Finish();
}

TfrmOption& TTapestraMain::OptionDialog() {
    if (!frmOption) {
        frmOption = &Own<TfrmOption>(Options);
        frmOption->OnConfirm = [this](const ::Options& confirmed) { ApplyOptions(confirmed); };
    }
    return *frmOption;
}

void TTapestraMain::CreateDesign() {
    // Design values are set first; the tray icons appear once all are in place.
    BeginLoading();
    Name = L"TapestraMain";
    SetCaption(kCaption);
    SetBounds(0, 0, 550, 400);
    ImageList1 = &Own<TImageList>(L"IMAGES", 16, 16);
    startTrace_.Step(L"image list");
    CreateMenus();
    startTrace_.Step(L"menus");
    CreateLook();
    startTrace_.Step(L"owner-drawn look");
    CreateToolBar();
    startTrace_.Step(L"toolbar");
    CreatePanels();
    startTrace_.Step(L"panels, tree, list");
    CreatePopupMenus();
    startTrace_.Step(L"pop-up menus");
    CreateTrayIcons();
    startTrace_.Step(L"tray icons");

    Timer1 = &Own<TTimer>();
    Timer1->Name = L"Timer1";
    // Off until the start-up sets it from the options: a box shown while the
    // window is created runs a message loop that would let it fire.
    Timer1->SetEnabled(false);
    Timer1->OnTimer = [this] { Timer1Timer(); };

    // Off until a timed change has to wait for a full-screen program.
    FullScreenTimer = &Own<TTimer>();
    FullScreenTimer->SetEnabled(false);
    FullScreenTimer->SetInterval(kFullScreenPoll);
    FullScreenTimer->OnTimer = [this] { FullScreenTimerTimer(); };

    // Runs once the desktop's monitors have settled after a change.
    DisplayTimer = &Own<TTimer>();
    DisplayTimer->SetEnabled(false);
    DisplayTimer->SetInterval(kDisplaySettle);
    DisplayTimer->OnTimer = [this] { DisplayTimerTimer(); };

    HotKeys1 = &Own<THotKeys>();
    // The pause key switches the pause on and off, as its menu item does.
    HotKeys1->OnHotKey = [this](TProgramCommand command) {
        RunCommand(command == TProgramCommand::Pause && Options.Paused ? TProgramCommand::Resume : command);
    };
    CommandWindow1 = &Own<TCommandWindow>();
    CommandWindow1->OnCommand = [this](TProgramCommand command) { RunCommand(command); };

    WallChanger1 = &Own<TWallChanger>();
    WallChanger1->Name = L"WallChanger1";
    WallChanger1->Stretch = false;
    WallChanger1->Tiling = false;

    FileDrop1 = &Own<TFileDrop>();
    FileDrop1->Name = L"FileDrop1";
    FileDrop1->SetControl(FileList);
    FileDrop1->SetAccept(true);
    FileDrop1->OnFileDrop = [this](TFileDrop&, int, const std::vector<std::wstring>& names, POINT) {
        FileDrop1FileDrop(names);
    };

    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this] { FormClose(); };
    FullScreenAhead = FullScreenProgramAhead;
    MonitorsNow = SystemMonitors;
    SpanShown = SystemShowsSpans();
    RandomRow = [this](int lowest, int highest) {
        return std::uniform_int_distribution<int>(lowest, highest)(random_);
    };

    ApplyFont(L"MS UI Gothic", 9);
    LoadedAll();
    startTrace_.Step(L"font, loaded");
}

void TTapestraMain::CreateMenus() {
    MainMenu1 = &Own<TMainMenu>();
    File1 = &MainMenu1->Add(L"ﾌｧｲﾙ(&F)");
    Group1 = &File1->Add(L"ｸﾞﾙｰﾌﾟ(&G)");
    AddGroup1 = &Group1->Add(L"追加(&A)", [this] { AddGroupClick(); });
    Delete1 = &Group1->Add(L"削除(&D)", [this] { Delete1Click(); });
    Rename1 = &Group1->Add(L"名前の変更(&R)", [this] { RenameClick(); });
    Files1 = &File1->Add(L"ﾌｧｲﾙ(&F)");
    AddFiles1 = &Files1->Add(L"追加(&A)", [this] { AddFilesClick(); });
    FileDelete1 = &Files1->Add(L"削除(&D)", [this] { FileDeleteClick(); });
    N1 = &File1->Add(L"-");
    Exit1 = &File1->Add(L"終了(&X)", [this] { Exit1Click(); });

    Change1 = &MainMenu1->Add(L"壁紙変更(&C)");
    N3 = &Change1->Add(L"１つ前のﾌｧｲﾙ(&B)", [this] { cmdBeforClick(); });
    A1 = &Change1->Add(L"次のﾌｧｲﾙ(&A)", [this] { cmdAfterClick(); });
    N4 = &Change1->Add(L"ﾗﾝﾀﾞﾑ変更(&R)", [this] { cmdRandomClick(); });
    Change1->Add(L"-");
    C1 = &Change1->Add(L"壁紙の消去(&C)", [this] { cmdNonClick(); });
    Change1->Add(L"-");
    Pause1 = &Change1->Add(L"一時停止(&P)", [this] { Pause1Click(); });

    // The version dialog comes with its own window.
    Option1 = &MainMenu1->Add(L"ｵﾌﾟｼｮﾝ(&O)");
    Option2 = &Option1->Add(L"ｵﾌﾟｼｮﾝ(&O)", [this] { Option2Click(); });
    Help1 = &MainMenu1->Add(L"ﾍﾙﾌﾟ(&H)");
    Contents1 = &Help1->Add(L"目次(&I)", [this] { Contents1Click(); });
    Help1->Add(L"-");
    A2 = &Help1->Add(L"ﾊﾞｰｼﾞｮﾝ表示(&A)", [this] { A2Click(); });
    SetMenu(MainMenu1);
}

void TTapestraMain::CreateLook() {
    MainCool1 = &Own<TMainCool>();
    MainCool1->Name = L"MainCool1";
    TMenuFont font{L"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, false, false, SysColor(COLOR_HIGHLIGHTTEXT)};
    MainCool1->ActiveFont = font;
    font.Color = SysColor(COLOR_MENUTEXT);
    MainCool1->InActiveFont = font;
    MainCool1->SetDefaultFont(false);
    MainCool1->SetLargeImage(false);
    MainCool1->ShowHint = false;
    MainCool1->SetImages(ImageList1);
    MainCool1->SetMenu(MainMenu1);
    const std::pair<TMenuItem*, int> images[] = {
        {File1, imgFileMenu}, {Group1, imgGroup},  {AddGroup1, imgAdd},     {Delete1, imgDelete},
        {AddFiles1, imgAdd},  {FileDelete1, imgDelete}, {N1, -1},           {Exit1, imgClose},
        {N3, imgPrevious},    {A1, imgNext},      {N4, imgRandom},          {C1, imgClear},
        {Contents1, imgHelp},
    };
    for (auto [item, image] : images)
        MainCool1->AddItemImage(*item, image);

    CoolHint1 = &Own<TCoolHint>();
    CoolHint1->Name = L"CoolHint1";
    CoolHint1->HintType = THintType::htRoundRect;
    AnimateForm1 = &Own<TAnimateForm>();
    AnimateForm1->Name = L"AnimateForm1";
}

void TTapestraMain::CreateToolBar() {
    ToolBar1 = &Own<TToolBar>(*this, *ImageList1, 23, 25);
    ToolBar1->Name = L"ToolBar1";
    ToolBar1->SetHeight(27);
    ToolBar1->SetAlign(TAlign::Top);
    using S = TToolButtonStyle;
    ToolButton1 = &ToolBar1->AddButton(imgClose, L"Vintrelを閉じます。", [this] { ToolButton1Click(); });
    ToolBar1->AddSeparator();
    ToolButton6 = &ToolBar1->AddButton(imgAdd, L"グループを新規に作成します。", [this] { AddGroupClick(); });
    ToolButton3 = &ToolBar1->AddButton(imgDelete, L"グループを削除します。", [this] { Delete1Click(); });
    ToolBar1->AddSeparator();
    cmdCenter = &ToolBar1->AddButton(
        imgCenter, L"壁紙を中央に表示します。", [this] { cmdCenterClick(); }, S::CheckGroup);
    cmdTile = &ToolBar1->AddButton(
        imgTile, L"壁紙を並べて表示します。", [this] { cmdTileClick(); }, S::CheckGroup);
    cmdStretch = &ToolBar1->AddButton(
        imgStretch, L"壁紙を拡大表示します。", [this] { cmdStretchClick(); }, S::CheckGroup);
    cmdFill = &ToolBar1->AddButton(
        imgFill, L"壁紙をページ幅に合わせて表示します。", [this] { cmdFillClick(); }, S::CheckGroup);
    cmdFit = &ToolBar1->AddButton(
        imgFit, L"壁紙を画面のサイズに合わせて表示します。", [this] { cmdFitClick(); }, S::CheckGroup);
    cmdNon = &ToolBar1->AddButton(imgClear, L"壁紙を消去します。", [this] { cmdNonClick(); });
    ToolBar1->AddSeparator();
    cmdBefor =
        &ToolBar1->AddButton(imgPrevious, L"前のファイルを壁紙に設定します。", [this] { cmdBeforClick(); });
    cmdAfter =
        &ToolBar1->AddButton(imgNext, L"次のファイルを壁紙に変更します。", [this] { cmdAfterClick(); });
    cmdRandom =
        &ToolBar1->AddButton(imgRandom, L"壁紙をランダムに変更します。", [this] { cmdRandomClick(); });
    ToolBar1->AddSeparator();
    ToolButton5 = &ToolBar1->AddButton(imgOpen, L"", [this] { ToolButton5Click(); });
    ToolBar1->AddSeparator();
    cmdHelp = &ToolBar1->AddButton(imgHelp, L"ﾍﾙﾌﾟを表示します。", [this] { Contents1Click(); });
}

void TTapestraMain::CreatePanels() {
    pnlTop = &Own<TPanel>(*this);
    pnlTop->Name = L"pnlTop";
    pnlTop->SetHeight(150);
    pnlTop->SetAlign(TAlign::Top);

    pnlImage = &Own<TPanel>(*pnlTop);
    pnlImage->Name = L"pnlImage";
    pnlImage->SetBevels(TBevel::None, TBevel::None);
    pnlImage->SetBounds(0, 0, 366, 126);
    pnlPicture = &Own<TPanel>(*pnlImage);
    pnlPicture->SetBevels(TBevel::Lowered, TBevel::None);
    pnlPicture->SetBounds(6, 8, 176, 114);
    LoadPicture = &Own<TAll>(*pnlPicture);
    LoadPicture->Name = L"LoadPicture";
    LoadPicture->SetBounds(4, 4, 168, 106);
    LoadPicture->SetAutoSize(false);
    LoadPicture->SetStretch(true);
    LoadPicture->SetPreView(false);
    RadioGroup1 = &Own<TRadioGroup>(
        *pnlImage, L"表示位置",
        std::vector<std::wstring>{L"標準", L"中央に表示", L"並べて表示", L"拡大表示", L"ページ幅に合わせる",
                                  L"画面のサイズに合わせる"},
        190, 4, 170, 118);
    RadioGroup1->Name = L"RadioGroup1";
    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };

    Splitter1 = &Own<TSplitter>(*this, TAlign::Top, 1, *pnlTop);

    StatusBar1 = &Own<TStatusBar>(*this);
    StatusBar1->Name = L"StatusBar1";
    StatusBar1->SetHeight(20);

    pnlLeft = &Own<TPanel>(*this);
    pnlLeft->Name = L"pnlLeft";
    pnlLeft->SetWidth(211);
    pnlLeft->SetAlign(TAlign::Left);
    GroupTree = &Own<TTreeView>(*pnlLeft, TVS_SHOWSELALWAYS);
    GroupTree->Name = L"GroupTree";
    GroupTree->SetBounds(3, 3, 203, 200);
    GroupTree->SetIndent(19);
    GroupTree->SetImageList(ImageList1->Handle());
    GroupTree->OnChange = [this](HTREEITEM) { GroupTreeChange(); };
    GroupTree->AddChild(nullptr, kRootName, imgGroup, imgGroupSelected);

    Splitter2 = &Own<TSplitter>(*this, TAlign::Left, 1, *pnlLeft);

    pnlRight = &Own<TPanel>(*this);
    pnlRight->Name = L"pnlRight";
    pnlRight->SetBevels(TBevel::Raised, TBevel::Lowered);
    pnlRight->SetAlign(TAlign::Client);
    FileList = &Own<TStringGrid>(*pnlRight);
    FileList->Name = L"FileList";
    FileList->SetBounds(3, 3, 200, 200);
    FileList->SetCell(0, kNoneRow);
    FileList->OnClick = [this] { FileListClick(); };
    FileList->OnDblClick = [this] { FileListDblClick(); };

    // The panels keep their contents fitted from now on.
    pnlTop->OnResize = [this] { pnlTopResize(); };
    pnlLeft->OnResize = [this] { pnlLeftResize(); };
    pnlRight->OnResize = [this] { pnlRightResize(); };
    pnlTopResize();
    pnlLeftResize();
    pnlRightResize();
}

void TTapestraMain::CreateTrayIcons() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    TrayIcon1 = &Own<TTrayIcon>();
    TrayIcon1->Name = L"TrayIcon1";
    TrayIcon1->SetIcon(static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 16, 16, LR_SHARED)));
    TrayIcon1->SetTipHelp(kTrayTip);
    TrayIcon1->SetRBPopupMenu(PopupMenu3);
    TrayIcon1->OnDblClick = [this] { TrayIcon1DblClick(); };
    TrayIcon1->SetVisible(true);

    Image1.AssignIcon(UniqueIcon{static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 32, 32, 0))});

    TrayIcon2 = &Own<TTrayIcon>();
    TrayIcon2->Name = L"TrayIcon2";
    TrayIcon2->SetIcon(static_cast<HICON>(LoadImageW(instance, L"CLEARICON", IMAGE_ICON, 16, 16, LR_SHARED)));
    TrayIcon2->SetTipHelp(L"壁紙の消去");
    TrayIcon2->OnDblClick = [this] { cmdNonClick(); };
}

void TTapestraMain::CreatePopupMenus() {
    PopupMenu1 = &Own<TPopupMenu>();
    PopupMenu1->Add(L"ｸﾞﾙｰﾌﾟ追加(&A)", [this] { AddGroupClick(); });
    PopupMenu1->Add(L"ｸﾞﾙｰﾌﾟ削除(&D)", [this] { Delete1Click(); });
    PopupMenu1->Add(L"名前の変更(&C)", [this] { RenameClick(); });
    GroupTree->PopupMenu = PopupMenu1;

    PopupMenu2 = &Own<TPopupMenu>();
    PopupMenu2->Add(L"ﾌｧｲﾙ追加(&A)", [this] { AddFilesClick(); });
    PopupMenu2->Add(L"ﾌｧｲﾙ削除(&D)", [this] { FileDeleteClick(); });
    FileList->PopupMenu = PopupMenu2;

    PopupMenu3 = &Own<TPopupMenu>();
    KS1 = &PopupMenu3->Add(L"起動(&S)", [this] { KS1Click(); });
    Help3 = &PopupMenu3->Add(L"ﾍﾙﾌﾟ(&H)", [this] { Contents1Click(); });
    PopupMenu3->Add(L"-");
    K6 = &PopupMenu3->Add(L"時間変更禁止(&T)", [this] { K6Click(); });
    popPause = &PopupMenu3->Add(L"一時停止(&P)", [this] { Pause1Click(); });
    PopupMenu3->Add(L"-");
    K2 = &PopupMenu3->Add(L"変更方法(&C)");
    popBefor = &K2->Add(L"一つ前の壁紙(&B)", [this] { popBeforClick(); });
    popNext = &K2->Add(L"次の壁紙(&N)", [this] { popNextClick(); });
    popRandom = &K2->Add(L"ﾗﾝﾀﾞﾑ(&R)", [this] { popRandomClick(); });
    Kt1 = &PopupMenu3->Add(L"表示位置(&D)");
    popCenter = &Kt1->Add(L"中央(&C)", [this] { cmdCenterClick(); });
    popTile = &Kt1->Add(L"全体(&T)", [this] { cmdTileClick(); });
    popStretch = &Kt1->Add(L"拡大(&Z)", [this] { cmdStretchClick(); });
    popFill = &Kt1->Add(L"ﾍﾟｰｼﾞ幅(&W)", [this] { cmdFillClick(); });
    popFit = &Kt1->Add(L"画面ｻｲｽﾞ(&S)", [this] { cmdFitClick(); });
    Kt1->Add(L"-");
    KC1 = &Kt1->Add(L"消去(&D)", [this] { cmdNonClick(); });
    PopupMenu3->Add(L"-");
    Windows1 = &PopupMenu3->Add(L"Windowsの終了(&U)");
    N10 = &Windows1->Add(L"電源が切れる状態にする。(&R)", [this] { N10Click(); });
    N12 = &Windows1->Add(L"再起動する。(&S)", [this] { N12Click(); });
    Exit2 = &PopupMenu3->Add(L"終了(&X)", [this] { Exit1Click(); });
}
