#pragma once
// A main window created in-process on a clean program key, with the modal UI
// scripted.
#include "app/TTapestraMain.h"
#include "framework/TApplication.h"
#include "support/ScriptedModalUI.h"
#include "support/TestRegistry.h"

#include <gtest/gtest.h>

#include <memory>

class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        auto ui = std::make_unique<ScriptedModalUI>();
        modal = ui.get();
        app.SetModalUI(std::move(ui));
    }
    void TearDown() override {
        owner.reset();
        // A closed main form leaves WM_QUIT queued; the next test starts clean.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
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
    // Stores groups in the registry the way the program does.
    static void SeedGroups(const std::vector<std::wstring>& names) {
        std::wstring section = std::wstring(testreg::kProgram) + L"\\Group";
        testreg::SetString(HKEY_CURRENT_USER, section, L"Count", std::to_wstring(names.size()));
        for (size_t i = 0; i < names.size(); ++i)
            testreg::SetString(HKEY_CURRENT_USER, section, L"Group" + std::to_wstring(i + 1), names[i]);
    }
    static void SeedFiles(const std::wstring& group, const std::vector<std::wstring>& files,
                          const std::vector<int>& views = {}) {
        testreg::SetString(HKEY_CURRENT_USER, GroupSection(group), L"Count", std::to_wstring(files.size()));
        for (size_t i = 0; i < files.size(); ++i)
            testreg::SetString(HKEY_CURRENT_USER, GroupSection(group) + L"\\Files",
                               L"File" + std::to_wstring(i + 1), files[i]);
        for (size_t i = 0; i < views.size(); ++i)
            testreg::SetString(HKEY_CURRENT_USER, GroupSection(group) + L"\\View",
                               L"File" + std::to_wstring(i + 1), std::to_wstring(views[i]));
    }

    TApplication app;
    ScriptedModalUI* modal = nullptr;
    std::unique_ptr<TComponent> owner;
    TTapestraMain* main = nullptr;
};
