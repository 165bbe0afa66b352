#pragma once
// The ground most component tests stand on: an application with the scripted
// modal UI, and a form owned by a component of the test's own (reset it to
// destroy the form before the application goes).
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "support/ScriptedModalUI.h"

#include <gtest/gtest.h>

#include <memory>

class FormFixture : public ::testing::Test {
  protected:
    void MakeForm() {
        modal = InstallScriptedModalUI(app);
        owner = std::make_unique<TComponent>(nullptr);
        form = &owner->Own<TForm>();
    }

    TApplication app;
    ScriptedModalUI* modal = nullptr;
    std::unique_ptr<TComponent> owner;
    TForm* form = nullptr;
};
