// The one extension parser: which "." counts, and where a name begins.
#include "base/ExtensionOf.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    const wchar_t* Path;
    const wchar_t* Extension;
};

const Case kCases[] = {
    {L"C:\\pictures\\sea.jpg", L".jpg"},
    {L"C:/pictures/sea.Jpeg", L".Jpeg"},
    {L"archive.tar.gz", L".gz"},
    {L"C:\\my.pictures\\sea", L""},
    {L"C:/my.pictures/sea", L""},
    {L"C:\\my.pictures/sea", L""},
    {L"C:/my.pictures\\sea", L""},
    {L"D:sea.bmp", L".bmp"},
    {L"D:.hidden", L".hidden"},
    {L"sea.", L"."},
    {L"C:\\folder.d\\", L""},
    {L"\\\\server\\share.x\\sea.png", L".png"},
    {L"写真\\海.ＪＰＧ", L".ＪＰＧ"},
    {L"sea", L""},
    {L"", L""},
};
} // namespace

TEST(ExtensionOf, TakesTheLastDotOfTheLastNameOnly) {
    for (const Case& c : kCases)
        EXPECT_EQ(ExtensionOf(c.Path), c.Extension) << "path: " << testing::PrintToString(std::wstring(c.Path));
}
