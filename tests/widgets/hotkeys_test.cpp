// Global hotkeys: a key held elsewhere is reported, keys are given back, a
// pressed key reaches OnHotKey; the names and modifiers of a hotkey.
#include "framework/TForm.h"
#include "support/ScriptedModalUI.h"
#include "support/WaitUntil.h"
#include "widgets/THotKeys.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
constexpr WORD kCtrlAltN = MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_ALT);
constexpr WORD kShiftF9 = MAKEWORD(VK_F9, HOTKEYF_SHIFT);
constexpr WORD kCtrlShiftF11 = MAKEWORD(VK_F11, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
using C = TProgramCommand;

class HotKeysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallScriptedModalUI(app);
        first->OnHotKey = [this](C command) { pressed.push_back(command); };
    }

    TApplication app;
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    THotKeys* first = &owner->Own<THotKeys>();
    THotKeys* second = &owner->Own<THotKeys>();
    std::vector<C> pressed;
};
} // namespace

TEST_F(HotKeysTest, AKeyHeldElsewhereIsReportedAndKeysAreGivenBack) {
    ASSERT_TRUE(first->Register({{C::Next, kShiftF9}, {C::Clear, 0}, {C::Pause, kCtrlAltN}}).empty());
    const std::vector<THotKeyBinding> taken =
        second->Register({{C::Random, kCtrlAltN}, {C::Show, kCtrlShiftF11}});
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(
        HotKeysTakenMessage(taken),
        L"次のホットキーは他のプログラムが使用中のため登録できませんでした。\n\nCtrl+Alt+N（ランダム変更）");
    ASSERT_EQ(second->Registered().size(), 1u);
    EXPECT_EQ(second->Registered()[0].Command, C::Show);
    first->Register({{C::Next, kShiftF9}});
    EXPECT_TRUE(second->Register({{C::Random, kCtrlAltN}}).empty()) << "given back on replacing";
    owner->Free(*second);
    EXPECT_TRUE(first->Register({{C::Next, kCtrlAltN}}).empty()) << "given back on destruction";
}

TEST_F(HotKeysTest, APressedKeyRunsItsCommand) {
    ASSERT_TRUE(first->Register({{C::Next, kCtrlAltN}, {C::Random, kCtrlShiftF11}}).empty());
    // The system's own identifiers and unknown ones are not ours.
    for (INT_PTR id : {INT_PTR{0}, INT_PTR{3}, INT_PTR{IDHOT_SNAPDESKTOP}})
        PostMessageW(first->Handle(), WM_HOTKEY, static_cast<WPARAM>(id), 0);
    // Pressed with a window of the program in front, as Wine needs it.
    TForm& form = owner->Own<TForm>();
    form.Show();
    SetForegroundWindow(form.Handle());
    ASSERT_TRUE(WaitUntil([&] { return app.ProcessMessages(), GetForegroundWindow() == form.Handle(); }));
    auto key = [](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    };
    for (WORD vk : {VK_CONTROL, VK_SHIFT, VK_F11})
        key(vk, 0);
    for (WORD vk : {VK_F11, VK_SHIFT, VK_CONTROL})
        key(vk, KEYEVENTF_KEYUP);
    ASSERT_TRUE(WaitUntil([&] { return app.ProcessMessages(), !pressed.empty(); }));
    EXPECT_EQ(pressed, std::vector<C>{C::Random});
}

TEST(HotKeyText, NamesAndModifiersOfAHotKey) {
    constexpr UINT R = MOD_NOREPEAT;
    const struct {
        WORD HotKey;
        const wchar_t* Name;
        UINT Modifiers;
    } cases[] = {
        {0, L"", R},
        {kCtrlAltN, L"Ctrl+Alt+N", MOD_CONTROL | MOD_ALT | R},
        {kShiftF9, L"Shift+F9", MOD_SHIFT | R},
        {MAKEWORD('N', HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT), L"Ctrl+Shift+Alt+N",
         MOD_CONTROL | MOD_SHIFT | MOD_ALT | R},
        // The arrow, with or without the extended flag: never the number pad's key.
        {MAKEWORD(VK_LEFT, HOTKEYF_CONTROL | HOTKEYF_EXT), L"Ctrl+Left", MOD_CONTROL | R},
        {MAKEWORD(VK_LEFT, HOTKEYF_CONTROL), L"Ctrl+Left", MOD_CONTROL | R},
        {MAKEWORD(0xE8, HOTKEYF_ALT), L"Alt+キー 0xE8", MOD_ALT | R},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HotKeyName(c.HotKey), c.Name) << std::hex << c.HotKey;
        EXPECT_EQ(HotKeyModifiers(c.HotKey), c.Modifiers) << std::hex << c.HotKey;
    }
}
