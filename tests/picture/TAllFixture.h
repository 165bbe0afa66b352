#pragma once
// A picture component on a form, the scripted modal UI, and the fake plug-in
// (FakeSpiSession.h).
#include "FakeSpiSession.h"
#include "PictureFiles.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "support/FormFixture.h"
#include "support/ScriptedModalUI.h"
#include "wallpaper/TAll.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class TAllFixture : protected FakeSpiSession, public FormFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(OpenScript());
        MakeForm();
        form->SetBounds(0, 0, 400, 300);
        all = &form->Own<TAll>(*form);
        RemovePlugins();
    }

    void TearDown() override {
        owner.reset();
        RemovePlugins();
    }

    // Sets PictureName with a fresh call record, then checks what every load
    // must leave behind: no plug-in loaded, every block it handed over freed.
    void Load(const std::wstring& path) {
        ResetRecord();
        all->SetPictureName(path);
        ExpectCleanedUp();
    }
    void ResetRecord() {
        script->Attached = script->Detached = 0;
        script->CallCount = 0;
        script->BlockCount = 0;
        script->Module[0] = 0;
        modal->Messages.clear();
    }
    void ExpectCleanedUp() {
        EXPECT_EQ(script->Attached, script->Detached) << "the plug-in stays loaded";
        for (const wchar_t* name : kPlugins)
            EXPECT_EQ(GetModuleHandleW(name), nullptr) << name << " stays loaded";
        for (int i = 0; i < script->BlockCount && i < 64; ++i)
            EXPECT_EQ(GlobalFlags(reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(script->Blocks[i]))),
                      static_cast<UINT>(GMEM_INVALID_HANDLE))
                << "block " << i << " of the plug-in was not freed";
    }

    std::string LoadedModule() const {
        std::string module = script->Module;
        size_t slash = module.find_last_of("\\/");
        return slash == std::string::npos ? module : module.substr(slash + 1);
    }
    const fakespi::Call& CallAt(int i) const { return script->Calls[i]; }
    std::wstring OnlyMessage() const {
        EXPECT_EQ(modal->Messages.size(), 1u);
        return modal->Messages.empty() ? std::wstring() : modal->Messages.back();
    }
    SIZE BitmapSize() const {
        BITMAP bm = pictest::BitmapInfo(all->Picture().Bitmap());
        return SIZE{bm.bmWidth, bm.bmHeight};
    }

    TAll* all = nullptr;
};
