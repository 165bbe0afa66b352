#pragma once
// Shared pieces of the tray icon tests: a message pump, the shell calls an
// icon makes, and notifications sent the way the shell sends them.
#include "framework/TApplication.h"
#include "support/Pump.h"
#include "support/ScriptedModalUI.h"
#include "tray/TTrayIcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace traytest {

using ::PumpFor;
using ::PumpUntil;

// What the shell would get from the tray (sends, as the shell does).
inline void Notify(UINT identifier, UINT mouseMessage) {
    SendMessageW(TTrayIcon::CallbackWindowHandle(), TTrayIcon::CallbackMessage, identifier, mouseMessage);
}
inline void Notify(const TTrayIcon& icon, UINT mouseMessage) {
    Notify(icon.Identifier(), mouseMessage);
}

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAW data;
};

// An application with a scripted modal UI, an owner for the icons, and a
// record of every shell call the icons make. The shell's answers can be set
// per message.
class TrayFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        modal = InstallScriptedModalUI(app);
        owner = std::make_unique<TComponent>(nullptr);
    }
    void TearDown() override {
        owner.reset();
        DiscardQueued();
    }

    // An icon whose shell calls are recorded instead of made.
    TTrayIcon& NewIcon(TComponent* iconOwner = nullptr) {
        TTrayIcon& icon = (iconOwner ? *iconOwner : *owner).Own<TTrayIcon>();
        icon.NotifyShell = [this](DWORD message, NOTIFYICONDATAW& data) {
            calls.push_back({message, data});
            return ShellAnswer(message);
        };
        return icon;
    }
    // An icon with a picture and a tip, in the tray.
    TTrayIcon& ShownIcon(const std::wstring& tip = L"Tip", TComponent* iconOwner = nullptr) {
        TTrayIcon& icon = NewIcon(iconOwner);
        icon.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
        icon.SetTipHelp(tip);
        icon.SetVisible(true);
        return icon;
    }

    std::vector<ShellCall> calls;
    std::function<bool(DWORD message)> ShellAnswer = [](DWORD) { return true; };
    TApplication app;
    ScriptedModalUI* modal = nullptr;
    std::unique_ptr<TComponent> owner;
};

// Clicks need a known double-click time; the system's is put back after.
class TrayClickFixture : public TrayFixture {
  protected:
    void SetUp() override {
        TrayFixture::SetUp();
        saved_ = GetDoubleClickTime();
        SetDoubleClickTime(500);
    }
    void TearDown() override {
        TrayFixture::TearDown();
        SetDoubleClickTime(saved_);
    }

  private:
    UINT saved_ = 0;
};

} // namespace traytest
