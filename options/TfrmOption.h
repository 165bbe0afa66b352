#pragma once
// The options dialog: shown modally from the main window, it fills its
// controls from the options in memory and, on "設定する", copies them back,
// writes them to the registry and applies the ones that take effect at once.
#include "app/Options.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/TPageControl.h"
#include "framework/TRegIniFile.h"
#include "options/TNValEdit.h"
#include "options/TShellLink.h"
#include "tray/TTrayIcon.h"

#include <functional>

class TfrmOption : public TForm {
  public:
    // What the dialog applies at once, held by the main window.
    struct Targets {
        TTrayIcon& TrayIcon2;
        TTimer& Timer1;
        TMenuItem& K6;
    };

    TfrmOption(TComponent* owner, ::Options& options, Targets targets);

    TLabel* Label1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
    TCheckBox *CheckBox1 = nullptr, *CheckBox4 = nullptr, *CheckBox3 = nullptr, *CheckBox7 = nullptr;
    TCheckBox *CheckBox2 = nullptr, *CheckBox5 = nullptr, *CheckBox6 = nullptr;
    TNValEdit *NValEdit1 = nullptr, *NValEdit2 = nullptr, *NValEdit3 = nullptr;
    TGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr;
    TRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr, *RadioButton3 = nullptr;
    TEdit* FileName = nullptr;
    TButton *Button1 = nullptr, *Button2 = nullptr, *BitBtn1 = nullptr, *BitBtn2 = nullptr;
    TShellLink* ShellLink1 = nullptr;

    void FormShow();
    void CheckBox2Click();
    void CheckBox5Click();
    void BitBtn1Click();
    void Button1Click();
    void Button2Click();

    // Opens the store the confirmed options are written to; tests replace it.
    std::function<TRegIniFile()> OpenStore;

    // An offset read back from its field: "1,234" reads as 1234.
    static int OffsetFromText(const std::wstring& text);

  private:
    void CreateDesign();
    void CreateGeneralPage();
    void CreateWallpaperPage();
    void CreateOtherPage();

    ::Options& options_;
    Targets targets_;
};
