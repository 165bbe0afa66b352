#pragma once
// The fake plug-in of a test: its script in shared memory, and copies of it
// under the plug-ins' names beside the test program, where the library search
// looks first.
#include "fakespi/FakeSpiScript.h"
#include "framework/Handle.h"

#include <gtest/gtest.h>

#include <string>

class FakeSpiSession {
  protected:
    static constexpr const wchar_t* kPlugins[] = {L"ifjpeg.spi", L"ifgif.spi",  L"iftiff.spi",
                                                  L"ifpic.spi",  L"ifpic2.spi", L"ifmag.spi",
                                                  L"ifxld4.spi", L"ifpi.spi",   L"ifpng.spi"};

    // Maps a fresh script: a 16 x 12 picture of 24 bits, every call succeeding.
    bool OpenScript() {
        mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                          sizeof(fakespi::Script), fakespi::MappingName().c_str()));
        if (!mapping_) return false;
        view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        script = static_cast<fakespi::Script*>(view_.get());
        if (!script) return false;
        *script = fakespi::Script{};
        script->Width = 16;
        script->Height = 12;
        script->PreviewWidth = 4;
        script->PreviewHeight = 3;
        script->XDensity = script->YDensity = 1;
        script->BitCount = 24;
        return true;
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

    // The calls of one entry point since the record was last cleared.
    int CallsOf(fakespi::Entry entry) const {
        int count = 0;
        for (int i = 0; i < script->CallCount && i < 16; ++i)
            count += script->Calls[i].Entry == entry ? 1 : 0;
        return count;
    }

    fakespi::Script* script = nullptr;

  private:
    static void Unmap(void* view) { UnmapViewOfFile(view); }
    UniqueKernelHandle mapping_;
    UniqueHandle<void*, Unmap> view_;
};
