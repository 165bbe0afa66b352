// The framework's handle owners and scope guards, and what a window of our own
// does when the system refuses to create it.
#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace {
std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

TEST(FileHandle, AFailedOpenIsEmptyAndAnOpenedFileIsClosedOnce) {
    UniqueFile none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
    UniqueFile missing(CreateFileW(TempPath(L"tapestra no such folder\\x.bmp").c_str(), GENERIC_READ, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing) << "INVALID_HANDLE_VALUE holds nothing";

    const std::wstring path = TempPath(L"tapestra handle test.bin");
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    // Opened without sharing: a second open fails while the owner lives.
    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    UniqueFile moved(std::move(file));
    EXPECT_FALSE(file);
    EXPECT_EQ(file.get(), INVALID_HANDLE_VALUE);
    moved.reset();
    UniqueFile again(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(again) << "the owner closed the file";
    again.reset();
    DeleteFileW(path.c_str());
}

TEST(PaletteGuard, TheOldPaletteIsBackAfterAThrow) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_PAL);
    LOGPALETTE logical{0x300, 1, {{10, 20, 30, 0}}};
    UniquePalette palette(CreatePalette(&logical));
    try {
        PaletteGuard select(dc.get(), palette.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PAL), palette.get());
        throw std::runtime_error("write failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PAL), before);
    {
        PaletteGuard none(dc.get(), nullptr);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PAL), before) << "a null palette selects nothing";
    }
}

class PaintedForm : public TForm {
  public:
    using TForm::TForm;
    int paints = 0;

  protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            PaintGuard paint(Handle());
            if (paint.get()) ++paints;
            return 0;
        }
        return TForm::WndProc(msg, wParam, lParam);
    }
};

TEST(PaintGuard, EndsThePaintSoTheWindowIsValid) {
    TApplication app;
    auto owner = std::make_unique<TComponent>(nullptr);
    auto& form = owner->Own<PaintedForm>();
    form.SetBounds(0, 0, 200, 100);
    form.Show();
    InvalidateRect(form.Handle(), nullptr, FALSE);
    UpdateWindow(form.Handle());
    EXPECT_GE(form.paints, 1);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(form.Handle(), &update, FALSE)) << "EndPaint validated the window";
}

// A child window of a parent that does not exist cannot be created.
class Orphan : public TWinControl {
  public:
    Orphan() : TWinControl(nullptr) {
        CreateOwnWindow(L"TapestraOrphan", WS_CHILD, 0, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FF0)),
                        L"");
    }
};

TEST(OwnWindow, ARefusedCreationRaises) {
    TApplication app;
    try {
        Orphan orphan;
        FAIL() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, L"ウィンドウ TapestraOrphan を作成できません");
    }
}
} // namespace
