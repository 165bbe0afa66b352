// The tray icon's record, properties, identifiers and shell errors, with the
// shell calls recorded instead of made.
#include "TrayTestSupport.h"
#include "framework/Exception.h"
#include "framework/Text.h"
#include "tray/TTrayIcon.h"

#include <gtest/gtest.h>

#include <string>

using namespace traytest;

namespace {
const wchar_t kTrayError[] = L"タスクトレイにアイコンを登録できません。";

size_t Cp932Bytes(const std::wstring& text) {
    return WideToCodePage(text, 932).size();
}

std::wstring Tip(const NOTIFYICONDATAW& data) {
    return data.szTip;
}

using TrayIcon = TrayFixture;

TEST_F(TrayIcon, StartsWithTheDefaultsAndOutOfTheTray) {
    TTrayIcon& icon = NewIcon();
    EXPECT_TRUE(icon.AutoPopup);
    EXPECT_TRUE(icon.Enabled());
    EXPECT_FALSE(icon.Visible());
    EXPECT_EQ(icon.Icon(), nullptr);
    EXPECT_EQ(icon.TipHelp(), L"TipHelp");
    EXPECT_EQ(icon.LBPopupMenu(), nullptr);
    EXPECT_EQ(icon.RBPopupMenu(), nullptr);
    EXPECT_NE(TTrayIcon::CallbackWindowHandle(), nullptr);
    EXPECT_TRUE(calls.empty());
}

TEST_F(TrayIcon, AddingFillsTheRecordWithTheIconsOwnCopy) {
    HICON source = LoadIconW(nullptr, IDI_APPLICATION);
    TTrayIcon& icon = NewIcon();
    icon.SetIcon(source);
    icon.SetTipHelp(L"Vintrel For Win95");
    EXPECT_TRUE(calls.empty()) << "nothing is shown before Visible";
    icon.SetVisible(true);
    ASSERT_EQ(calls.size(), 1u);
    const NOTIFYICONDATAW& data = calls[0].data;
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(data.hWnd, TTrayIcon::CallbackWindowHandle());
    EXPECT_EQ(data.uID, icon.Identifier());
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 0x4C8u);
    EXPECT_EQ(data.hIcon, icon.Icon());
    EXPECT_NE(icon.Icon(), source) << "the icon keeps a copy of its own";
    EXPECT_EQ(Tip(data), L"Vintrel For Win95");
    EXPECT_TRUE(icon.Visible());
}

TEST_F(TrayIcon, AnEmptyTipRegistersWithoutTheTipFlag) {
    TTrayIcon& icon = ShownIcon(L"");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].data.uFlags, 3u);
    EXPECT_EQ(calls[0].data.uFlags & NIF_TIP, 0u);
    EXPECT_EQ(Tip(calls[0].data), L"");
    icon.SetTipHelp(L"Again");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(calls[1].data.uFlags, 7u);
    icon.SetTipHelp(L"");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].data.uFlags, 3u);
}

TEST_F(TrayIcon, ALongAsciiTipKeepsItsFirst62Characters) {
    std::wstring text;
    for (int i = 0; i < 70; ++i)
        text += static_cast<wchar_t>(L'A' + i % 26);
    TTrayIcon& icon = ShownIcon(text);
    EXPECT_EQ(icon.TipHelp(), text.substr(0, 62));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(Tip(calls[0].data), text.substr(0, 62));
}

TEST_F(TrayIcon, AJapaneseTipIsCutTo62BytesOfShiftJis) {
    std::wstring text;
    for (int i = 0; i < 70; ++i)
        text += static_cast<wchar_t>(L'あ' + i % 20);
    TTrayIcon& icon = ShownIcon(text);
    EXPECT_EQ(icon.TipHelp(), text.substr(0, 31));
    EXPECT_EQ(Cp932Bytes(icon.TipHelp()), 62u);
    EXPECT_EQ(Tip(calls.at(0).data), text.substr(0, 31));
}

TEST_F(TrayIcon, ACutNeverSplitsADoubleByteCharacter) {
    // One single-byte character first: 61 bytes fit, the next character
    // would need bytes 62 and 63.
    std::wstring text = L"a";
    for (int i = 0; i < 40; ++i)
        text += L'壁';
    TTrayIcon& icon = NewIcon();
    icon.SetTipHelp(text);
    EXPECT_EQ(icon.TipHelp(), text.substr(0, 31));
    EXPECT_EQ(Cp932Bytes(icon.TipHelp()), 61u);
}

TEST_F(TrayIcon, HalfWidthKatakanaCountOneByteEach) {
    std::wstring text(70, L'ｱ');
    TTrayIcon& icon = NewIcon();
    icon.SetTipHelp(text);
    EXPECT_EQ(icon.TipHelp(), std::wstring(62, L'ｱ'));
}

TEST_F(TrayIcon, ACutNeverSplitsASurrogatePair) {
    std::wstring text(61, L'x');
    text += L"\U0001F600";
    text += L"yz";
    TTrayIcon& icon = NewIcon();
    icon.SetTipHelp(text);
    const std::wstring& tip = icon.TipHelp();
    ASSERT_FALSE(tip.empty());
    EXPECT_FALSE(IS_HIGH_SURROGATE(tip.back()));
    EXPECT_LE(Cp932Bytes(tip), 62u);
    EXPECT_EQ(tip, text.substr(0, tip.size()));
    EXPECT_GE(tip.size(), 61u);
}

TEST_F(TrayIcon, TheSameTipAgainMakesNoShellCall) {
    TTrayIcon& icon = ShownIcon(L"壁紙の消去");
    calls.clear();
    icon.SetTipHelp(L"壁紙の消去");
    EXPECT_TRUE(calls.empty());

    std::wstring longText(70, L'Q');
    icon.SetTipHelp(longText);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(Tip(calls[0].data), std::wstring(62, L'Q'));
    // A different text that cuts to the same tip is the same tip.
    icon.SetTipHelp(std::wstring(64, L'Q'));
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(TrayIcon, ATipSetOutsideTheTrayWaitsForTheAdd) {
    TTrayIcon& icon = NewIcon();
    icon.SetTipHelp(L"First");
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    EXPECT_TRUE(calls.empty());
    icon.SetVisible(true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(Tip(calls[0].data), L"First");
}

TEST_F(TrayIcon, VisibleStaysFalseWhileTheIconIsEmpty) {
    TTrayIcon& icon = NewIcon();
    icon.SetVisible(true);
    EXPECT_FALSE(icon.Visible());
    EXPECT_TRUE(calls.empty());
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    EXPECT_FALSE(icon.Visible()) << "a picture alone does not show the icon";
    EXPECT_TRUE(calls.empty());
    icon.SetVisible(true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayIcon, HidingDeletesAndShowingAddsAgain) {
    TTrayIcon& icon = ShownIcon();
    icon.SetVisible(true);
    EXPECT_EQ(calls.size(), 1u) << "no second add for the same value";
    icon.SetVisible(false);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls[1].data.uID, icon.Identifier());
    icon.SetVisible(false);
    EXPECT_EQ(calls.size(), 2u);
    icon.SetTipHelp(L"Hidden");
    EXPECT_EQ(calls.size(), 2u) << "no modify while out of the tray";
    icon.SetVisible(true);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Tip(calls[2].data), L"Hidden");
}

TEST_F(TrayIcon, ANewPictureIsShownAndTheSameOneIsIgnored) {
    TTrayIcon& icon = ShownIcon();
    calls.clear();
    icon.SetIcon(icon.Icon());
    EXPECT_TRUE(calls.empty());
    HICON before = icon.Icon();
    icon.SetIcon(LoadIconW(nullptr, IDI_WARNING));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(calls[0].data.hIcon, icon.Icon());
    EXPECT_NE(icon.Icon(), before);
}

TEST_F(TrayIcon, NoPictureTakesTheIconOutOfTheTray) {
    TTrayIcon& icon = ShownIcon();
    calls.clear();
    icon.SetIcon(nullptr);
    EXPECT_EQ(icon.Icon(), nullptr);
    EXPECT_FALSE(icon.Visible());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayIcon, DestroyingAnIconInTheTrayDeletesIt) {
    TTrayIcon& shown = ShownIcon();
    UINT id = shown.Identifier();
    TTrayIcon& hidden = NewIcon();
    calls.clear();
    owner->Free(hidden);
    EXPECT_TRUE(calls.empty());
    owner->Free(shown);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls[0].data.uID, id);
    EXPECT_EQ(TTrayIcon::CallbackWindowHandle(), nullptr) << "the window goes with the last icon";
}

TEST_F(TrayIcon, IdentifiersCountOnFromTheLastLivingIcon) {
    TTrayIcon& first = NewIcon();
    TTrayIcon& second = NewIcon();
    EXPECT_EQ(first.Identifier(), 1u);
    EXPECT_EQ(second.Identifier(), 2u);
    owner->Free(second);
    TTrayIcon& third = NewIcon();
    EXPECT_EQ(third.Identifier(), 2u);
    owner->Free(first);
    TTrayIcon& fourth = NewIcon();
    EXPECT_EQ(fourth.Identifier(), 3u);
    owner->Free(third);
    owner->Free(fourth);
    EXPECT_EQ(NewIcon().Identifier(), 1u);
}

TEST_F(TrayIcon, AtMostOneHundredIconsLiveAtOnce) {
    std::vector<TTrayIcon*> icons;
    for (int i = 0; i < 100; ++i)
        icons.push_back(&NewIcon());
    EXPECT_EQ(icons.back()->Identifier(), 100u);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            NewIcon();
            FAIL() << "the 101st icon was made";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, kTrayError);
        }
    }
    owner->Free(*icons.back());
    EXPECT_EQ(NewIcon().Identifier(), 100u);
}

TEST_F(TrayIcon, AFailedAddRaisesTheErrorAndLeavesTheIconOut) {
    ShellAnswer = [](DWORD message) { return message != NIM_ADD; };
    TTrayIcon& icon = NewIcon();
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    try {
        icon.SetVisible(true);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, kTrayError);
    }
    calls.clear();
    icon.SetTipHelp(L"Other");
    icon.SetVisible(false);
    EXPECT_TRUE(calls.empty()) << "an icon that was never added is neither modified nor deleted";
}

TEST_F(TrayIcon, AFailedModifyRaisesTheError) {
    ShellAnswer = [](DWORD message) { return message != NIM_MODIFY; };
    TTrayIcon& icon = ShownIcon();
    try {
        icon.SetTipHelp(L"Other");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, kTrayError);
    }
    EXPECT_THROW(icon.SetIcon(LoadIconW(nullptr, IDI_WARNING)), Exception);
}

TEST_F(TrayIcon, AFailedDeleteIsIgnored) {
    ShellAnswer = [](DWORD message) { return message != NIM_DELETE; };
    TTrayIcon& icon = ShownIcon();
    EXPECT_NO_THROW(icon.SetVisible(false));
    calls.clear();
    icon.SetVisible(true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
}

TEST_F(TrayIcon, WhileTheOwnerLoadsVisibleOnlyRecordsTheWish) {
    owner->BeginLoading();
    TTrayIcon& icon = ShownIcon(L"Before");
    icon.SetTipHelp(L"Loaded");
    EXPECT_TRUE(icon.Visible());
    EXPECT_TRUE(calls.empty());
    owner->LoadedAll();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Tip(calls[0].data), L"Loaded");
    owner->LoadedAll();
    EXPECT_EQ(calls.size(), 1u) << "an icon in the tray is not added twice";
}

TEST_F(TrayIcon, LoadedAddsNothingForAHiddenIcon) {
    owner->BeginLoading();
    TTrayIcon& icon = NewIcon();
    icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    owner->LoadedAll();
    EXPECT_TRUE(calls.empty());
}

TEST_F(TrayIcon, ANewTaskBarGetsEveryVisibleIconAgain) {
    TTrayIcon& shown = ShownIcon(L"shown");
    TTrayIcon& neverShown = NewIcon();
    neverShown.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    TTrayIcon& hiddenAgain = ShownIcon(L"hidden");
    hiddenAgain.SetVisible(false);
    TTrayIcon& alsoShown = ShownIcon(L"also");
    calls.clear();
    // Explorer announces a new task bar to all top-level windows.
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return calls.size() >= 2; }, 3000));
    PumpFor(100);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[0].data.uID, shown.Identifier());
    EXPECT_EQ(Tip(calls[0].data), L"shown");
    EXPECT_EQ(calls[0].data.hWnd, TTrayIcon::CallbackWindowHandle());
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[1].data.uID, alsoShown.Identifier());
    calls.clear();
    shown.SetVisible(false);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE)) << "the icon counts as added again";
}

TEST_F(TrayIcon, OneIconThatCannotComeBackDoesNotKeepTheOthersAway) {
    TTrayIcon& first = ShownIcon(L"first");
    TTrayIcon& second = ShownIcon(L"second");
    ShellAnswer = [&](DWORD) { return calls.back().data.uID != first.Identifier(); };
    calls.clear();
    SendMessageW(TTrayIcon::CallbackWindowHandle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    // The refused add is tried as a modify before it is given up.
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(calls[1].data.uID, first.Identifier());
    EXPECT_EQ(calls[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(calls[2].data.uID, second.Identifier());
    ASSERT_EQ(modal->Errors.size(), 1u);
    EXPECT_EQ(modal->Errors[0], kTrayError);
}

TEST_F(TrayIcon, AnIconTheTaskBarKeptIsNotAnError) {
    TTrayIcon& kept = ShownIcon(L"kept");
    // The task bar still has the icon: it refuses the add, takes the modify.
    ShellAnswer = [&](DWORD message) { return message != NIM_ADD; };
    calls.clear();
    SendMessageW(TTrayIcon::CallbackWindowHandle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_TRUE(modal->Errors.empty());
    calls.clear();
    kept.SetVisible(false);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE)) << "the icon counts as added";
}

TEST_F(TrayIcon, AnAddRefusedWhileLoadingWaitsForTheTaskBar) {
    // At logon the program can start before the task bar takes icons.
    ShellAnswer = [](DWORD message) { return message != NIM_ADD; };
    owner->BeginLoading();
    TTrayIcon& icon = ShownIcon(L"logon");
    EXPECT_NO_THROW(owner->LoadedAll());
    EXPECT_TRUE(icon.Visible());
    EXPECT_TRUE(modal->Errors.empty());
    ShellAnswer = [](DWORD) { return true; };
    calls.clear();
    SendMessageW(TTrayIcon::CallbackWindowHandle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Tip(calls[0].data), L"logon");
    calls.clear();
    icon.SetVisible(false);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE)) << "the icon counts as added";
}

TEST_F(TrayIcon, ARefusedAddIsTriedAgainUntilTheTaskBarTakesIt) {
    int refusals = 2;
    ShellAnswer = [&](DWORD message) { return message != NIM_ADD || refusals-- <= 0; };
    owner->BeginLoading();
    TTrayIcon& icon = ShownIcon(L"later");
    owner->LoadedAll();
    // No "TaskbarCreated" comes: it went out before the program started.
    auto addsTaken = [&] {
        int taken = 0;
        for (const ShellCall& call : calls)
            taken += call.message == NIM_ADD ? 1 : 0;
        return taken;
    };
    ASSERT_TRUE(PumpUntil([&] { return addsTaken() == 3; }, 15000));
    EXPECT_TRUE(modal->Errors.empty());
    calls.clear();
    icon.SetVisible(false);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE));
}

} // namespace
