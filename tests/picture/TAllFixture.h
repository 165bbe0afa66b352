#pragma once
// A picture component on a form, the scripted modal UI, and the fake plug-in:
// its script in shared memory, and copies of it under the plug-ins' names
// beside the test program, where the library search looks first.
#include "PictureFiles.h"
#include "fakespi/FakeSpiScript.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "support/ScriptedModalUI.h"
#include "wallpaper/TAll.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class TAllFixture : public ::testing::Test {
  protected:
    static constexpr const wchar_t* kPlugins[] = {L"ifjpeg.spi", L"ifgif.spi", L"iftiff.spi", L"ifpic.spi",
                                                  L"ifpic2.spi", L"ifmag.spi", L"ifxld4.spi", L"ifpi.spi"};

    void SetUp() override {
        mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          sizeof(fakespi::Script), fakespi::MappingName().c_str()));
        ASSERT_TRUE(mapping_);
        script = static_cast<fakespi::Script*>(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        ASSERT_NE(script, nullptr);
        *script = fakespi::Script{};
        script->Width = 16;
        script->Height = 12;
        script->PreviewWidth = 4;
        script->PreviewHeight = 3;
        script->XDensity = script->YDensity = 1;
        script->BitCount = 24;

        modal = InstallScriptedModalUI(app);
        owner = std::make_unique<TComponent>(nullptr);
        form = &owner->Own<TForm>();
        form->SetBounds(0, 0, 400, 300);
        all = &form->Own<TAll>(*form);
        RemovePlugins();
    }

    void TearDown() override {
        owner.reset();
        RemovePlugins();
        if (script) UnmapViewOfFile(script);
    }

    static std::wstring TestFolder() {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring path = exe;
        return path.substr(0, path.find_last_of(L'\\') + 1);
    }
    // The fake under a plug-in's name; the minimal fake exports GetPicture only.
    static void Install(const wchar_t* name, bool minimal = false) {
        std::wstring source = TestFolder() + (minimal ? L"fakespi_min.dll" : L"fakespi.dll");
        ASSERT_TRUE(CopyFileW(source.c_str(), (TestFolder() + name).c_str(), FALSE))
            << "cannot install " << name;
    }
    static void InstallAll() {
        for (const wchar_t* name : kPlugins)
            Install(name);
    }
    static void RemovePlugins() {
        for (const wchar_t* name : kPlugins)
            DeleteFileW((TestFolder() + name).c_str());
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

    TApplication app;
    ScriptedModalUI* modal = nullptr;
    std::unique_ptr<TComponent> owner;
    TForm* form = nullptr;
    TAll* all = nullptr;
    fakespi::Script* script = nullptr;

  private:
    UniqueKernelHandle mapping_;
};
