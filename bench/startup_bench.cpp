// Start-up and idle memory of Tapestra32.exe against the floor program
// (bench_floor.exe), timed by the same code in the same run, runs of the two
// interleaved so that both see the same machine load.
//   start-up: from CreateProcess until the main window is visible and its
//   message loop answers (for Tapestra32 the file list is then filled);
//   memory: the working set 5 s after start.
// Cases: an empty library, and 50 groups with a 1,000-file active group.
// Usage: startup_bench [runs] [files] [DLL ...]: the DLLs are those the floor
// loads, the system DLLs the program imports. With TAPESTRA_STEP_TRACE=PREFIX
// both programs trace their steps into PREFIX-empty.txt, PREFIX-full.txt and
// PREFIX-idle.txt. Prints one line per figure:
//   NAME OURS FLOOR   (ms or MB)
#include "support/ProgramDriver.h"
#include "support/TestRegistry.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Program {
    std::wstring exe;
    std::wstring arguments;
    std::wstring windowClass;
};

// A started program; ended (closed, then killed if need be) when it goes.
class Started {
  public:
    explicit Started(const Program& program) : program_(program) {
        std::wstring command = L"\"" + program.exe + L"\" " + program.arguments;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(program.exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           ProgramDriver::BinDir().c_str(), &si, &pi)) {
            CloseHandle(pi.hThread);
            process_ = pi.hProcess;
            pid_ = pi.dwProcessId;
        }
    }
    ~Started() {
        if (!process_) return;
        if (window_) {
            // Tapestra32 hides into the tray on a close unless Windows is
            // ending: said so first, it ends (and takes its tray icons away)
            // instead of being killed.
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &result);
            PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    // The visible main window once the message loop answers. The program is
    // left alone while it starts: under Wine every window query is a round
    // trip to the one wineserver the starting program needs too, and a tight
    // poll over all windows slowed the start it was timing several times over.
    // WaitForInputIdle returns once the program first waits for messages.
    HWND WaitForWindow() {
        if (!process_) return nullptr;
        WaitForInputIdle(process_, 30000);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(1)) {
            if (HWND found = VisibleWindow()) {
                DWORD_PTR result = 0;
                SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
                return window_ = found;
            }
            if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) break;
        }
        return nullptr;
    }
    double WorkingSetMB() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (!GetProcessMemoryInfo(process_, &counters, sizeof(counters))) return -1;
        return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }

  private:
    // The program's visible top-level window of its class, found by class
    // name (a query or two, not one per window on the desktop).
    HWND VisibleWindow() const {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, program_.windowClass.c_str(), nullptr))) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == pid_ && IsWindowVisible(window)) return window;
        }
        return nullptr;
    }

    Program program_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Milliseconds until the window is up; -1 when it never came.
double TimeStart(const Program& program, int expectedRows) {
    auto t0 = std::chrono::steady_clock::now();
    Started started(program);
    HWND window = started.WaitForWindow();
    auto t1 = std::chrono::steady_clock::now();
    if (!window) return -1;
    if (expectedRows >= 0) {
        HWND list = ProgramDriver::FindChild(window, L"LISTBOX");
        if (!list || SendMessageW(list, LB_GETCOUNT, 0, 0) != expectedRows) return -1;
    }
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double IdleWorkingSet(const Program& program) {
    Started started(program);
    if (!started.WaitForWindow()) return -1;
    Sleep(5000);
    return started.WorkingSetMB();
}

void SeedLibrary(int files) {
    const std::wstring program = testreg::kProgram;
    testreg::DeleteTree(HKEY_CURRENT_USER, program);
    if (files == 0) return;
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
}

// With TAPESTRA_STEP_TRACE set, each case's programs write their step traces
// to a file of their own: the variable, then "-" and the case, then ".txt".
void TraceCase(const std::wstring& name) {
    static const std::wstring base = [] {
        wchar_t path[MAX_PATH];
        DWORD length = GetEnvironmentVariableW(L"TAPESTRA_STEP_TRACE", path, MAX_PATH);
        return length && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
    }();
    if (!base.empty()) SetEnvironmentVariableW(L"TAPESTRA_STEP_TRACE", (base + L"-" + name + L".txt").c_str());
}

// Interleaved runs of both programs; the first of each warms the caches.
bool CompareStart(const char* name, const Program& ours, const Program& floor, int runs, int rows) {
    std::vector<double> oursMs, floorMs;
    for (int i = 0; i <= runs; ++i) {
        double f = TimeStart(floor, -1);
        double o = TimeStart(ours, rows);
        if (f < 0 || o < 0) {
            std::printf("%s: a program did not come up (or its list was not whole)\n", name);
            return false;
        }
        if (i == 0) continue;
        floorMs.push_back(f);
        oursMs.push_back(o);
    }
    std::printf("%s %.1f %.1f\n", name, Median(oursMs), Median(floorMs));
    return true;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
    const int files = argc > 2 ? std::max(1, _wtoi(argv[2])) : 1000;
    const std::wstring bin = ProgramDriver::BinDir();
    const Program ours{bin + L"Tapestra32.exe", L"", L"TapestraForm"};
    std::wstring floorArguments = L"FloorWindow";
    for (int i = 3; i < argc; ++i)
        floorArguments += std::wstring(L" ") + argv[i];
    const Program floor{bin + L"bench_floor.exe", floorArguments, L"FloorWindow"};

    SeedLibrary(0);
    TraceCase(L"empty");
    if (!CompareStart("startup-empty", ours, floor, runs, -1)) return 1;
    SeedLibrary(files);
    TraceCase(L"full");
    if (!CompareStart("startup-full", ours, floor, runs, files + 1)) return 1;
    TraceCase(L"idle");
    const double oursMB = IdleWorkingSet(ours);
    const double floorMB = IdleWorkingSet(floor);
    std::printf("idle-memory %.1f %.1f\n", oursMB, floorMB);
    testreg::DeleteTree(HKEY_CURRENT_USER, testreg::kProgram);
    return oursMB < 0 || floorMB < 0 ? 1 : 0;
}
