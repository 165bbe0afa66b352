#pragma once
// The version dialog: the caller's title, version, edition and picture above
// the fixed notice and contact lines.
#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "framework/TBitBtn.h"
#include "framework/TForm.h"
#include "framework/TImage.h"

class TAbout : public TForm {
  public:
    explicit TAbout(TComponent* owner);

    TPanel* Panel1 = nullptr;
    TImage* imgPicture = nullptr;
    TLabel *lblTitle = nullptr, *lblVersion = nullptr, *lblOS = nullptr, *lblNotice = nullptr;
    TPanel* Panel2 = nullptr;
    TLabel *lblMsg001 = nullptr, *lblMsg002 = nullptr, *lblMsg003 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel *lblContact1 = nullptr, *lblContact2 = nullptr, *lblContact3 = nullptr;
    TBitBtn* cmdOK = nullptr;
    TStatusBar* pnlMessage = nullptr;

    void FormShow();
    void cmdOKClick();

  private:
    void CreateDesign();
    void CreatePanel1();
    void CreatePanel2();
    void CreateContacts();
    // A label in the design's font and colour; one given no width takes the
    // size of its text.
    TLabel& AddLabel(const wchar_t* name, TWinControl& parent, const wchar_t* caption, int left, int top,
                     int width, int height, const wchar_t* face, int fontHeight, COLORREF color,
                     TAlignment alignment);
};
