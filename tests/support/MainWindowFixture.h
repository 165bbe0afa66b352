#pragma once
// A main window created in-process on a clean program key, with the modal UI
// scripted.
#include "app/TTapestraMain.h"
#include "framework/TApplication.h"
#include "support/Pump.h"
#include "support/ScriptedModalUI.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

#include <memory>

class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        modal = InstallScriptedModalUI(app);
    }
    void TearDown() override {
        owner.reset();
        // A closed main form leaves WM_QUIT queued; the next test starts clean.
        DiscardQueued();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    }

    TTapestraMain& Start() {
        owner = std::make_unique<TComponent>(nullptr);
        main = &owner->Own<TTapestraMain>();
        return *main;
    }
    void Restart() {
        owner.reset();
        Start();
    }

    static std::wstring Settings() { return std::wstring(testreg::kProgram) + L"\\動作環境"; }
    static void SetSetting(const std::wstring& name, const std::wstring& value) {
        testreg::SetString(HKEY_CURRENT_USER, Settings(), name, value);
    }
    static std::optional<std::wstring> Setting(const std::wstring& name) {
        return testreg::GetString(HKEY_CURRENT_USER, Settings(), name);
    }
    static std::wstring GroupSection(const std::wstring& group) {
        return std::wstring(testreg::kProgram) + L"\\FileList\\" + group;
    }
    static void SeedGroups(const std::vector<std::wstring>& names) { testreg::SeedGroups(names); }
    static void SeedFiles(const std::wstring& group, const std::vector<std::wstring>& files,
                          const std::vector<int>& views = {}) {
        testreg::SeedFiles(group, files, views);
    }

    TApplication app;
    ScriptedModalUI* modal = nullptr;
    std::unique_ptr<TComponent> owner;
    TTapestraMain* main = nullptr;
};
