#pragma once
// The options dialog: shown modally from the main window, it fills its
// controls from the options in memory and, on "設定する", hands the edited
// options to whoever applies them.
#include "library/Options.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "framework/TForm.h"
#include "framework/TMenu.h"
#include "framework/TPageControl.h"
#include "options/TNValEdit.h"
#include "options/TShellLink.h"

#include <array>
#include <functional>

class TfrmOption : public TForm {
  public:
    // The dialog shows current each time it opens and never changes it.
    TfrmOption(TComponent* owner, const ::Options& current);

    TLabel* Label1 = nullptr;
    TPageControl* PageControl1 = nullptr;
    TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
    TCheckBox *CheckBox1 = nullptr, *CheckBox4 = nullptr, *CheckBox3 = nullptr, *CheckBox7 = nullptr;
    TCheckBox *CheckBox2 = nullptr, *CheckBox5 = nullptr, *CheckBox6 = nullptr;
    TNValEdit *NValEdit1 = nullptr, *NValEdit2 = nullptr, *NValEdit3 = nullptr;
    TGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr;
    TRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr, *RadioButton3 = nullptr;
    // The pages and switches beyond the first version: random changes
    // without repeats (壁紙), the wait for a full-screen program (その他),
    // several monitors (ﾓﾆﾀｰ, in the order of TMonitorMode) and the global
    // hotkeys (ﾎｯﾄｷｰ, in the order of THotKeyCommand).
    TTabSheet *TabSheet4 = nullptr, *TabSheet5 = nullptr;
    TCheckBox *CheckBox8 = nullptr, *CheckBox9 = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    std::array<TRadioButton*, 3> MonitorButtons{};
    std::array<THotKey*, hkCount> HotKeyFields{};
    TEdit* FileName = nullptr;
    TButton *Button1 = nullptr, *Button2 = nullptr, *BitBtn1 = nullptr, *BitBtn2 = nullptr;
    TShellLink* ShellLink1 = nullptr;

    void FormShow();
    void CheckBox2Click();
    void CheckBox5Click();
    void BitBtn1Click();
    void Button1Click();
    void Button2Click();

    // Raised by "設定する" with the edited options.
    std::function<void(const ::Options& edited)> OnConfirm;

    // An offset read back from its field: "1,234" reads as 1234.
    static int OffsetFromText(const std::wstring& text);

  private:
    void CreateDesign();
    void CreateGeneralPage();
    void CreateWallpaperPage();
    void CreateOtherPage();
    void CreateMonitorPage();
    void CreateHotKeyPage();

    const ::Options& current_;
};
