// The built program killed in the middle of its work: while it applies
// wallpapers and while it stores dropped files. The library in the registry
// must be whole afterwards (each group's list the old one or the new one,
// never a mixture or a gap), and the program must start again.
#include "support/ProgramDriver.h"
#include "support/RemoteDrop.h"
#include "support/TestFiles.h"
#include "support/TestRegistry.h"
#include "support/TrayCallback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::wstring kSettings = std::wstring(testreg::kProgram) + L"\\動作環境";
constexpr int kDropped = 1000;

std::wstring Section(const std::wstring& group) {
    return std::wstring(testreg::kProgram) + L"\\FileList\\" + group;
}

// The list a group's stored count says it has; a missing entry reads as
// "<missing>".
std::vector<std::wstring> StoredList(const std::wstring& group) {
    const int count =
        std::stoi(testreg::GetString(HKEY_CURRENT_USER, Section(group), L"Count").value_or(L"0"));
    std::vector<std::wstring> files;
    for (int n = 1; n <= count; ++n)
        files.push_back(
            testreg::GetString(HKEY_CURRENT_USER, Section(group) + L"\\Files", L"File" + std::to_wstring(n))
                .value_or(L"<missing>"));
    return files;
}

// Polls the registry as fast as it can, so the kill lands while the program
// is still writing.
template <typename F> bool WaitFor(F&& condition, DWORD ms = 20000) {
    const DWORD start = GetTickCount();
    while (!condition())
        if (GetTickCount() - start > ms) return false;
    return true;
}

void Kill(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 9);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

class KilledProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ProgramDriver::EndStrayPrograms();
        testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
        dir = testfiles::FreshFolder(L"tapestra kill");
        for (int i = 0; i < 3; ++i)
            first.push_back(testfiles::WriteBitmap(dir + L"\\a" + std::to_wstring(i) + L".bmp", 30 + i, 20,
                                                   RGB(10 * i, 2, 3)));
        second = {testfiles::WriteBitmap(dir + L"\\b.bmp", 40, 30, RGB(3, 2, 1))};
        testreg::SeedGroups({L"一", L"二"});
        testreg::SeedFiles(L"一", first);
        testreg::SeedFiles(L"二", second);
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"ActiveGroup", L"1");
        testreg::SetString(HKEY_CURRENT_USER, kSettings, L"モード", L"1");
    }
    void TearDown() override { testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram); }

    void ExpectGroupsUntouched() {
        const std::wstring groups = std::wstring(testreg::kProgram) + L"\\Group";
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, groups, L"Count"), L"2");
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, groups, L"Group1"), L"一");
        EXPECT_EQ(testreg::GetString(HKEY_CURRENT_USER, groups, L"Group2"), L"二");
        EXPECT_EQ(StoredList(L"二"), second);
    }
    void ExpectStartsAgain() {
        ProgramDriver again;
        ASSERT_TRUE(again.Start());
        EXPECT_NE(again.WaitForMainWindow(), nullptr) << "the program does not start after the kill";
    }

    std::wstring dir;
    std::vector<std::wstring> first, second;
};

} // namespace

TEST_F(KilledProgram, WhileStoringDroppedFilesTheListIsTheOldOrTheNew) {
    // Killed at the first sign of writing, and again half-way through.
    for (int killAt : {4, kDropped / 2}) {
        SCOPED_TRACE("killed when File" + std::to_string(killAt) + " appears");
        testreg::DeleteTree(HKEY_CURRENT_USER, Section(L"一"));
        testreg::SeedFiles(L"一", first);
        std::vector<std::wstring> dropped;
        for (int i = 0; i < kDropped; ++i)
            dropped.push_back(dir + L"\\dropped" + std::to_wstring(i) + L".bmp");
        ProgramDriver program;
        ASSERT_TRUE(program.Start());
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        HWND list = ProgramDriver::FindChild(main, L"LISTBOX");
        ASSERT_NE(list, nullptr);
        DropFiles(program.ProcessId(), list, dropped);
        const std::wstring marker = L"File" + std::to_wstring(killAt);
        ASSERT_TRUE(WaitFor([&] {
            return testreg::GetString(HKEY_CURRENT_USER, Section(L"一") + L"\\Files", marker).has_value();
        }));
        Kill(program.ProcessId());

        ExpectGroupsUntouched();
        std::vector<std::wstring> whole = first;
        whole.insert(whole.end(), dropped.begin(), dropped.end());
        const std::vector<std::wstring> stored = StoredList(L"一");
        EXPECT_TRUE(stored == first || stored == whole) << stored.size() << " files stored";
        ExpectStartsAgain();
    }
}

TEST_F(KilledProgram, WhileApplyingTheLibraryStaysAsItWas) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    HWND callback = CallbackWindow(program.ProcessId());
    ASSERT_NE(callback, nullptr);
    // A queue of changes (double-clicks on the tray icon), killed after the first.
    for (int i = 0; i < 200; ++i)
        PostMessageW(callback, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(
        WaitFor([&] { return testreg::GetString(HKEY_CURRENT_USER, kSettings, L"files").has_value(); }));
    Kill(program.ProcessId());

    ExpectGroupsUntouched();
    EXPECT_EQ(StoredList(L"一"), first);
    ExpectStartsAgain();
}
