// The export: one modal version dialog per call, in the library's own
// application object; nothing is left behind.
#include "aboutlib/AboutShow.h"

#include "aboutlib/TAbout.h"
#include "framework/TApplication.h"
#include "framework/Text.h"

namespace {
std::wstring FromShiftJis(const char* text) {
    return text ? CodePageToWide(text, 932) : std::wstring{};
}
} // namespace

int __stdcall AboutShow(const char* title, const char* version, const char* edition, HICON picture) {
    try {
        TApplication application;
        TAbout about(nullptr);
        about.lblTitle->SetCaption(FromShiftJis(title));
        about.lblVersion->SetCaption(L"Ver " + FromShiftJis(version));
        about.lblMsg002->SetCaption(FromShiftJis(edition));
        // A copy: the caller keeps its icon and frees it when it likes.
        about.imgPicture->Picture().AssignIcon(UniqueIcon{picture ? CopyIcon(picture) : nullptr});
        about.imgPicture->PictureChanged();
        about.ShowModal();
    } catch (...) {
        // The caller has no way to hear of a failure: the dialog just does not
        // appear, and the program goes on.
    }
    return 0;
}
