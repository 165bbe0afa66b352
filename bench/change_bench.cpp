// A 'next' change as the program makes it, in process: the main window on a
// group of two pictures; each run selects the next row, loads the picture
// through its plug-in, writes the wallpaper bitmap, the registry values and
// the desktop setting. Then one change at the end of the Windows session
// (WM_ENDSESSION with the change-at-shutdown option on).
// Usage: change_bench A.jpg B.jpg [runs [position WxH]]. With a position
// (0 to 5, as the per-file View values) both files take it and the desktop
// is one monitor of WxH. Prints
//   change MEDIAN_MS PEAK_WORKING_SET_MB    and    end-of-session MS
#include "app/TTapestraMain.h"
#include "framework/TApplication.h"
#include "support/ScriptedModalUI.h"
#include "support/TestRegistry.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {
double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

void SeedGroup(const std::wstring& a, const std::wstring& b, int position) {
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    testreg::SeedGroups({L"bench"});
    testreg::SeedFiles(L"bench", {a, b}, {position, position});
    const std::wstring settings = std::wstring(testreg::kProgram) + L"\\動作環境";
    testreg::SetString(HKEY_CURRENT_USER, settings, L"ActiveGroup", L"1");
    testreg::SetString(HKEY_CURRENT_USER, settings, L"変更方法", L"2");
    testreg::SetString(HKEY_CURRENT_USER, settings, L"終了", L"1");
}

bool Failed(const ScriptedModalUI& ui) {
    for (const auto& text : ui.Errors)
        std::fwprintf(stderr, L"error: %ls\n", text.c_str());
    return !ui.Errors.empty() || !ui.Messages.empty();
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: change_bench A.jpg B.jpg [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 10;
    const int position = argc > 4 ? _wtoi(argv[4]) : 0;
    int width = 0, height = 0;
    if (argc > 5 && std::swscanf(argv[5], L"%dx%d", &width, &height) != 2) return 2;
    SeedGroup(argv[1], argv[2], position);
    TApplication application;
    ScriptedModalUI* ui = InstallScriptedModalUI(application);
    auto owner = std::make_unique<TComponent>(nullptr);
    TTapestraMain& main = owner->Own<TTapestraMain>();
    if (Failed(*ui)) return 1;
    if (width > 0 && height > 0) {
        const std::vector<DesktopMonitor> screen = {{{0, 0, width, height}, true}};
        main.MonitorsNow = [screen] { return screen; };
    }

    std::vector<double> ms;
    // The first change loads the plug-in; it is not counted.
    for (int i = 0; i <= runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        main.cmdAfterClick();
        if (i > 0) ms.push_back(Ms(t0));
        if (Failed(*ui)) return 1;
    }
    std::sort(ms.begin(), ms.end());
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("change %.1f %.1f\n", ms[ms.size() / 2], memory.PeakWorkingSetSize / 1048576.0);

    auto t0 = std::chrono::steady_clock::now();
    SendMessageW(main.Handle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(main.Handle(), WM_ENDSESSION, TRUE, 0);
    std::printf("end-of-session %.1f\n", Ms(t0));
    const bool failed = Failed(*ui);
    owner.reset();
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    return failed ? 1 : 0;
}
