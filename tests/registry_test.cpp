// The ini-style registry layer against the real registry of the test prefix.
#include "framework/Exception.h"
#include "framework/TRegIniFile.h"
#include "framework/Text.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

namespace {
const wchar_t kBase[] = L"Software\\TapestraTest\\Ini";

class RegistryLayer : public ::testing::Test {
  protected:
    void SetUp() override { testreg::DeleteTree(HKEY_CURRENT_USER, kBase); }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, kBase); }
    std::wstring Path(const std::wstring& section) { return std::wstring(kBase) + L"\\" + section; }
};

TEST_F(RegistryLayer, OpeningCreatesTheKey) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    EXPECT_TRUE(testreg::KeyExists(HKEY_CURRENT_USER, kBase));
}

TEST_F(RegistryLayer, IntegersReadAsDecimalOrHexWithDefaultsForEverythingElse) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    struct Case {
        const wchar_t* text;
        int expected;
    } cases[] = {{L"30", 30},   {L"-5", -5},  {L"0x1E", 30},       {L"0X1e", 30},
                 {L"0x10", 16}, {L"abc", 77}, {L"", 77},           {L"0x", 77},
                 {L"12a", 77},  {L" 1", 77},  {L"0xFFFFFFFF", -1}, {L"99999999999", 77},
                 {L"+7", 7}};
    for (const auto& c : cases) {
        testreg::SetString(HKEY_CURRENT_USER, Path(L"S"), L"v", c.text);
        EXPECT_EQ(reg.ReadInteger(L"S", L"v", 77), c.expected) << "text: " << WideToUtf8(c.text);
    }
}

TEST_F(RegistryLayer, MissingSectionOrValueGivesTheDefaultAndCreatesNothing) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    EXPECT_EQ(reg.ReadInteger(L"Nowhere", L"v", 10), 10);
    EXPECT_EQ(reg.ReadString(L"Nowhere", L"v", L"def"), L"def");
    EXPECT_TRUE(reg.ReadBool(L"Nowhere", L"v", true));
    EXPECT_FALSE(testreg::KeyExists(HKEY_CURRENT_USER, Path(L"Nowhere")));
    reg.WriteString(L"Here", L"other", L"x");
    EXPECT_EQ(reg.ReadString(L"Here", L"v", L"def"), L"def");
}

TEST_F(RegistryLayer, BooleansAreWrittenAsZeroOrOneAndAnyNonZeroReadsTrue) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    reg.WriteBool(L"B", L"t", true);
    reg.WriteBool(L"B", L"f", false);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Path(L"B"), L"t"), L"1");
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Path(L"B"), L"f"), L"0");
    testreg::SetString(HKEY_CURRENT_USER, Path(L"B"), L"two", L"2");
    EXPECT_TRUE(reg.ReadBool(L"B", L"two", false));
    testreg::SetString(HKEY_CURRENT_USER, Path(L"B"), L"junk", L"yes");
    EXPECT_FALSE(reg.ReadBool(L"B", L"junk", false));
    EXPECT_TRUE(reg.ReadBool(L"B", L"junk", true));
}

TEST_F(RegistryLayer, WritingCreatesNestedSectionsAndStoresText) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    reg.WriteInteger(L"FileList\\グループ\\Files", L"File1", -12);
    EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, Path(L"FileList\\グループ\\Files"), L"File1"), L"-12");
}

TEST_F(RegistryLayer, DeletingAMissingValueIsNoError) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    reg.WriteString(L"D", L"keep", L"1");
    EXPECT_NO_THROW(reg.DeleteValue(L"D", L"absent"));
    EXPECT_NO_THROW(reg.DeleteValue(L"NoSection", L"absent"));
    reg.DeleteValue(L"D", L"keep");
    EXPECT_FALSE(reg.ValueExists(L"D", L"keep"));
}

TEST_F(RegistryLayer, AValueOfAnotherTypeRaisesTheWrongTypeText) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    testreg::SetDword(HKEY_CURRENT_USER, Path(L"T"), L"時間", 30);
    try {
        reg.ReadInteger(L"T", L"時間", 10);
        FAIL() << "no error raised";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message, L"'時間' のﾃﾞｰﾀ型が不正です");
    }
    EXPECT_THROW(reg.ReadString(L"T", L"時間", L""), ERegistryException);
}

TEST_F(RegistryLayer, WriteFailuresRaiseTheSettingAndCreationTexts) {
    { TRegIniFile create(HKEY_CURRENT_USER, kBase); }
    TRegIniFile readOnly(HKEY_CURRENT_USER, kBase, true);
    try {
        readOnly.WriteString(L"", L"Count", L"1");
        FAIL() << "no error raised";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message, L"'Count' の設定に失敗しました");
    }
    // A key name longer than the registry allows cannot be created.
    const std::wstring tooLong(300, L'k');
    try {
        TRegIniFile reg(HKEY_CURRENT_USER, kBase);
        reg.WriteString(tooLong, L"Count", L"1");
        FAIL() << "no error raised";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message, L"ｷｰ " + tooLong + L" の作成に失敗しました");
    }
}

TEST_F(RegistryLayer, MoveSectionCarriesValuesAndSubkeys) {
    TRegIniFile reg(HKEY_CURRENT_USER, kBase);
    reg.WriteInteger(L"FileList\\旧", L"Count", 2);
    reg.WriteString(L"FileList\\旧\\Files", L"File1", L"C:\\a.bmp");
    reg.WriteString(L"FileList\\旧\\View", L"File1", L"3");
    reg.MoveSection(L"FileList\\旧", L"FileList\\新");
    EXPECT_FALSE(reg.SectionExists(L"FileList\\旧"));
    EXPECT_EQ(reg.ReadInteger(L"FileList\\新", L"Count", 0), 2);
    EXPECT_EQ(reg.ReadString(L"FileList\\新\\Files", L"File1", L""), L"C:\\a.bmp");
    EXPECT_EQ(reg.ReadInteger(L"FileList\\新\\View", L"File1", 0), 3);
    reg.EraseSection(L"FileList\\新");
    EXPECT_FALSE(reg.SectionExists(L"FileList\\新"));
    EXPECT_TRUE(reg.SectionExists(L"FileList"));
}

TEST(TextHelpers, FormatReplacesEachPlaceholderInOrder) {
    EXPECT_EQ(FormatText(L"%s [%s]", {L"未知のフォーマット", L"C:\\WALL\\A.GIF"}),
              L"未知のフォーマット [C:\\WALL\\A.GIF]");
    EXPECT_EQ(FormatText(L"100% of %s", {L"x"}), L"100% of x");
    EXPECT_EQ(FormatText(L"%s and %s", {L"one"}), L"one and %s");
}

TEST(TextHelpers, CodePageConversionReportsLoss) {
    bool lossy = false;
    EXPECT_EQ(WideToCodePage(L"C:\\壁紙\\a.jpg", 932, &lossy).size(), 13u);
    EXPECT_FALSE(lossy);
    WideToCodePage(L"C:\\\u00e9\u0416\u4e02.jpg", 932, &lossy);
    EXPECT_TRUE(lossy);
    EXPECT_EQ(AsciiUpper(L"a.Jpe\u00e9"), L"A.JPE\u00e9");
}
} // namespace
