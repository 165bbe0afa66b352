// Start-up with a full library (50 groups, the active one with 1,000 files):
// the time from process creation until the main window is shown, warm.
// Usage: startup_bench [runs] [files]. Prints the median and the spread in ms.
#include "support/ProgramDriver.h"
#include "support/TestRegistry.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? _wtoi(argv[1]) : 10;
    int files = argc > 2 ? _wtoi(argv[2]) : 1000;
    const std::wstring program = testreg::kProgram;
    testreg::DeleteTree(HKEY_CURRENT_USER, program);
    testreg::SetString(HKEY_CURRENT_USER, program + L"\\Group", L"Count", L"50");
    for (int g = 1; g <= 50; ++g)
        testreg::SetString(HKEY_CURRENT_USER, program + L"\\Group", L"Group" + std::to_wstring(g),
                           L"グループ" + std::to_wstring(g));
    const std::wstring active = program + L"\\FileList\\グループ50";
    testreg::SetString(HKEY_CURRENT_USER, active, L"Count", std::to_wstring(files));
    for (int f = 1; f <= files; ++f) {
        testreg::SetString(HKEY_CURRENT_USER, active + L"\\Files", L"File" + std::to_wstring(f),
                           L"C:\\壁紙\\写真" + std::to_wstring(f) + L".jpg");
        testreg::SetString(HKEY_CURRENT_USER, active + L"\\View", L"File" + std::to_wstring(f),
                           std::to_wstring(f % 4));
    }
    testreg::SetString(HKEY_CURRENT_USER, program + L"\\動作環境", L"ActiveGroup", L"50");
    testreg::SetString(HKEY_CURRENT_USER, program + L"\\動作環境", L"ActiveFile", L"0");

    std::vector<double> ms;
    for (int i = 0; i <= runs; ++i) {
        ProgramDriver driver;
        auto t0 = std::chrono::steady_clock::now();
        if (!driver.Start()) return 1;
        HWND main = driver.WaitForMainWindow(true, 30000);
        auto t1 = std::chrono::steady_clock::now();
        if (!main) return 1;
        HWND list = ProgramDriver::FindChild(main, L"LISTBOX");
        if (!list || SendMessageW(list, LB_GETCOUNT, 0, 0) != files + 1) {
            std::printf("the library did not load whole\n");
            return 1;
        }
        double elapsed = std::chrono::duration<double, std::milli>(t1 - t0).count();
        // The first start warms up (the program's pages, the shell's caches).
        if (i == 0)
            std::printf("first start %.1f ms\n", elapsed);
        else
            ms.push_back(elapsed);
        SendMessageW(main, WM_QUERYENDSESSION, 0, 0);
        PostMessageW(main, WM_CLOSE, 0, 0);
        driver.WaitForExit(10000);
    }
    testreg::DeleteTree(HKEY_CURRENT_USER, program);
    std::sort(ms.begin(), ms.end());
    std::printf("startup median %.1f ms (min %.1f, max %.1f, %d runs)\n", ms[ms.size() / 2], ms.front(),
                ms.back(), runs);
    return 0;
}
