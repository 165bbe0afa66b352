// A plug-in that faults inside a call: the load fails with a message that
// names the plug-in, the plug-in is released, and the next picture gets it
// afresh. Exceptions a plug-in throws and catches itself are left alone.
#include "TAllFixture.h"

namespace {

class PluginFault : public TAllFixture {};

struct FaultCase {
    const char* name;
    const wchar_t* path;
    fakespi::Entry entry;
    fakespi::Misdeed misdeed;
    int calls;              // into the plug-in: none after the fault
    const wchar_t* message; // empty when the load succeeds
};

TEST_F(PluginFault, AFaultFailsOnlyThatLoadAndThePluginIsLoadedAfreshNextTime) {
    InstallAll();
    const FaultCase cases[] = {
        {"access violation", L"C:\\WALL\\A.GIF", fakespi::kPicture, fakespi::kAccessViolation, 1,
         L"ifgif.spi で例外 (C0000005) が発生しました [C:\\WALL\\A.GIF]"},
        {"illegal instruction", L"C:\\WALL\\A.TIF", fakespi::kPicture, fakespi::kIllegalInstruction, 1,
         L"iftiff.spi で例外 (C000001D) が発生しました [C:\\WALL\\A.TIF]"},
        {"division by zero", L"C:\\WALL\\A.MAG", fakespi::kPicture, fakespi::kDivideByZero, 1,
         L"ifmag.spi で例外 (C0000094) が発生しました [C:\\WALL\\A.MAG]"},
        {"stack overflow", L"C:\\WALL\\A.PI", fakespi::kPicture, fakespi::kStackOverflow, 1,
         L"ifpi.spi で例外 (C00000FD) が発生しました [C:\\WALL\\A.PI]"},
        // The stack has its guard page back: a second overflow is caught too.
        {"stack overflow again", L"C:\\WALL\\A.PI", fakespi::kPicture, fakespi::kStackOverflow, 1,
         L"ifpi.spi で例外 (C00000FD) が発生しました [C:\\WALL\\A.PI]"},
        {"JPEG information", L"C:\\WALL\\photo.jpg", fakespi::kInfo, fakespi::kAccessViolation, 1,
         L"ifjpeg.spi で例外 (C0000005) が発生しました [C:\\WALL\\photo.jpg]"},
        // The picture is decoded; the fault comes with the densities after it.
        {"PIC densities", L"C:\\WALL\\girl.pic", fakespi::kInfo, fakespi::kDivideByZero, 2,
         L"ifpic.spi で例外 (C0000094) が発生しました [C:\\WALL\\girl.pic]"},
        {"exception caught inside", L"C:\\WALL\\A.GIF", fakespi::kPicture, fakespi::kCaughtCppException, 1,
         L""},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        script->Misdeeds[c.entry] = c.misdeed;
        Load(c.path);
        if (*c.message) {
            EXPECT_EQ(all->Error(), 22);
            EXPECT_EQ(OnlyMessage(), c.message);
            EXPECT_TRUE(all->Picture().Empty());
            EXPECT_EQ(all->PictureName(), L"");
        } else {
            EXPECT_EQ(all->Error(), 0);
            EXPECT_TRUE(modal->Messages.empty());
        }
        EXPECT_EQ(script->CallCount, c.calls);

        script->Misdeeds[c.entry] = fakespi::kBehaves;
        Load(c.path);
        EXPECT_EQ(script->Attached, 1) << "loaded afresh";
        EXPECT_EQ(all->Error(), 0);
        EXPECT_EQ(BitmapSize().cx, script->Width);
    }
}

} // namespace
