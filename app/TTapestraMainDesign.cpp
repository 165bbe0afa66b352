// The main window's design: its components with their design names and values.
#include "app/StoreNames.h"
#include "app/TTapestraMain.h"

namespace {
const wchar_t kCaption[] = L"Vintrel Ver3.20 For Windows98";
}

TTapestraMain::TTapestraMain(TComponent* owner) : TForm(owner) {
    CreateDesign();
    FormCreate();
}

void TTapestraMain::CreateDesign() {
    Name = L"TapestraMain";
    SetCaption(kCaption);
    SetBounds(0, 0, 550, 400);

    MainMenu1 = &Own<TMainMenu>();
    File1 = &MainMenu1->Add(L"ﾌｧｲﾙ(&F)");
    Exit1 = &File1->Add(L"終了(&X)", [this] { Exit1Click(); });
    SetMenu(MainMenu1);

    StatusBar1 = &Own<TStatusBar>(*this);
    StatusBar1->Name = L"StatusBar1";

    pnlTop = &Own<TPanel>(*this);
    pnlTop->Name = L"pnlTop";
    pnlTop->SetHeight(150);
    pnlTop->SetAlign(TAlign::Top);

    pnlImage = &Own<TPanel>(*pnlTop);
    pnlImage->Name = L"pnlImage";
    pnlImage->SetBounds(0, 0, 292, 126);

    pnlLeft = &Own<TPanel>(*this);
    pnlLeft->Name = L"pnlLeft";
    pnlLeft->SetWidth(211);
    pnlLeft->SetAlign(TAlign::Left);

    GroupTree = &Own<TTreeView>(*pnlLeft, TVS_SHOWSELALWAYS);
    GroupTree->Name = L"GroupTree";
    GroupTree->SetBounds(3, 3, 203, 200);
    GroupTree->OnChange = [this](HTREEITEM) { GroupTreeChange(); };
    GroupTree->AddChild(nullptr, kRootName, 0, 1);

    pnlRight = &Own<TPanel>(*this);
    pnlRight->Name = L"pnlRight";
    pnlRight->SetBevels(TBevel::Raised, TBevel::Lowered);
    pnlRight->SetAlign(TAlign::Client);

    FileList = &Own<TStringGrid>(*pnlRight);
    FileList->Name = L"FileList";
    FileList->SetBounds(3, 3, 200, 200);
    FileList->SetCell(0, kNoneRow);
    FileList->OnClick = [this] { FileListClick(); };

    Timer1 = &Own<TTimer>();
    Timer1->Name = L"Timer1";

    WallChanger1 = &Own<TWallChanger>();
    WallChanger1->Name = L"WallChanger1";
    WallChanger1->Stretch = false;
    WallChanger1->Tiling = false;

    // The panels keep their contents fitted from now on.
    pnlTop->OnResize = [this] { pnlTopResize(); };
    pnlLeft->OnResize = [this] { pnlLeftResize(); };
    pnlRight->OnResize = [this] { pnlRightResize(); };
    pnlTopResize();
    pnlLeftResize();
    pnlRightResize();

    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this] { FormClose(); };

    ApplyFont(L"MS UI Gothic", 9);
    LoadedAll();
}
