// The version dialog's design and its two handlers.
#include "aboutlib/TAbout.h"

#include "framework/ModalUI.h"
#include "framework/TApplication.h"

#include <commctrl.h>

namespace {
const wchar_t kCaption[] = L"バージョン表示";
const wchar_t kMincho[] = L"ＭＳ 明朝";
const wchar_t kPMincho[] = L"ＭＳ Ｐ明朝";
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const int kClientWidth = 413, kClientHeight = 296;

// The fixed lines: this project's own notice and where to reach it.
const wchar_t kNotice[] = L"(C) Tapestra32 プロジェクト";
const wchar_t kContactHeading[] = L"作者への連絡先";
const wchar_t kContact1[] = L"Tapestra32 プロジェクト";
const wchar_t kContact2[] = L"不具合の報告: 課題管理 (Issues)";
const wchar_t kContact3[] = L"説明: 同梱の README.txt";

const wchar_t kFreewareEdition[] = L"FW版";
const wchar_t kFreewareText[] = L"フリーウエア版";
} // namespace

TAbout::TAbout(TComponent* owner) : TForm(owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN) {
    CreateDesign();
}

void TAbout::CreateDesign() {
    BeginLoading();
    Name = L"About";
    SetCaption(kCaption);
    // A fixed dialog border; the client area is the design's, in pixels at any
    // screen font size.
    DWORD style = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)) | WS_EX_DLGMODALFRAME;
    SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(exStyle));
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetBounds(0, 0, frame.right - frame.left, frame.bottom - frame.top);

    CreatePanel1();
    CreatePanel2();
    CreateContacts();

    cmdOK = &Own<TBitBtn>(*this, L"確認", 312, 224, 97, 41);
    cmdOK->Name = L"cmdOK";
    cmdOK->SetFont(kPMincho, -17, true);
    cmdOK->SetGlyph(UniqueBitmap{static_cast<HBITMAP>(
                        LoadImageW(ModuleInstance(), L"OKGLYPH", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))},
                    2);
    // Enter presses it; nothing answers to Escape.
    cmdOK->SetDefault(true);
    cmdOK->OnClick = [this] { cmdOKClick(); };

    pnlMessage = &Own<TStatusBar>(*this);
    pnlMessage->Name = L"pnlMessage";
    // A fixed dialog has nothing to resize: no size grip.
    SetWindowLongW(pnlMessage->Handle(), GWL_STYLE,
                   GetWindowLongW(pnlMessage->Handle(), GWL_STYLE) & ~static_cast<LONG>(SBARS_SIZEGRIP));
    pnlMessage->SetBarHeight(25);

    OnShow = [this] { FormShow(); };
    LoadedAll();
}

TLabel& TAbout::AddLabel(const wchar_t* name, TWinControl& parent, const wchar_t* caption, int left, int top,
                         int width, int height, const wchar_t* face, int fontHeight, COLORREF color,
                         TAlignment alignment) {
    TLabel& label = Own<TLabel>(parent, caption, left, top);
    label.Name = name;
    label.SetFont(face, fontHeight);
    label.SetColor(color);
    label.SetAlignment(alignment);
    if (width != 0) {
        label.SetAutoSize(false);
        label.SetBounds(left, top, width, height);
    }
    return label;
}

void TAbout::CreatePanel1() {
    Panel1 = &Own<TPanel>(*this);
    Panel1->Name = L"Panel1";
    Panel1->SetBounds(4, 4, 405, 117);

    imgPicture = &Own<TImage>(*Panel1);
    imgPicture->Name = L"imgPicture";
    imgPicture->SetBounds(8, 16, 41, 41);
    imgPicture->SetStretch(true);
    imgPicture->SetAutoSize(true);

    lblTitle = &AddLabel(L"lblTitle", *Panel1, L"", 56, 24, 337, 30, kMincho, -30, kBlue, TAlignment::Center);
    lblVersion = &AddLabel(L"lblVersion", *Panel1, L"", 96, 66, 89, 23, kPMincho, -20, kBlue,
                           TAlignment::RightJustify);
    // Sized to its text: the Mincho of this system may be wider than the design's 129 pixels.
    lblOS = &AddLabel(L"lblOS", *Panel1, L"For Windows98", 208, 66, 0, 0, kPMincho, -20, kBlue,
                      TAlignment::LeftJustify);
    lblNotice =
        &AddLabel(L"lblNotice", *Panel1, kNotice, 16, 90, 377, 21, kPMincho, -20, kBlue, TAlignment::Center);
}

void TAbout::CreatePanel2() {
    Panel2 = &Own<TPanel>(*this);
    Panel2->Name = L"Panel2";
    Panel2->SetBounds(4, 123, 405, 62);
    lblMsg001 =
        &AddLabel(L"lblMsg001", *Panel2, L"", 8, 2, 385, 17, kPMincho, -17, kBlack, TAlignment::Center);
    lblMsg002 =
        &AddLabel(L"lblMsg002", *Panel2, L"", 8, 19, 385, 17, kPMincho, -17, kBlack, TAlignment::Center);
    lblMsg003 =
        &AddLabel(L"lblMsg003", *Panel2, L"", 8, 38, 385, 17, kPMincho, -17, kBlack, TAlignment::Center);
}

void TAbout::CreateContacts() {
    Label7 = &AddLabel(L"Label7", *this, kContactHeading, 8, 192, 0, 0, kPMincho, -17, kBlack,
                       TAlignment::LeftJustify);
    lblContact1 = &AddLabel(L"lblContact1", *this, kContact1, 16, 211, 0, 0, kPMincho, -17, kBlack,
                            TAlignment::LeftJustify);
    lblContact2 = &AddLabel(L"lblContact2", *this, kContact2, 16, 229, 0, 0, kPMincho, -17, kBlack,
                            TAlignment::LeftJustify);
    lblContact3 = &AddLabel(L"lblContact3", *this, kContact3, 16, 247, 0, 0, kPMincho, -17, kBlack,
                            TAlignment::LeftJustify);
}

void TAbout::FormShow() {
    // Centred on the screen, each offset truncated toward zero.
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2,
              Width(), Height());
    if (lblMsg002->Caption() == kFreewareEdition) {
        lblMsg001->SetCaption(L"");
        lblMsg002->SetCaption(kFreewareText);
        lblMsg003->SetCaption(L"");
    }
}

void TAbout::cmdOKClick() {
    SetModalResult(mrOk);
}
