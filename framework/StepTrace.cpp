#include "framework/StepTrace.h"

#include "framework/Handle.h"

#include <psapi.h>

#include <cwchar>

namespace {
double Ms(LONGLONG ticks, LARGE_INTEGER frequency) {
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds since this process was created, by the system clock.
double MsSinceProcessCreation() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimePreciseAsFileTime(&now);
    auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(value(now) - value(created)) / 10000.0;
}

// The working set in KB, so the trace also shows where the memory goes.
unsigned long WorkingSetKB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<unsigned long>(counters.WorkingSetSize / 1024);
}
} // namespace

StepTrace::StepTrace(std::wstring what, bool fromProcessStart) : what_(std::move(what)) {
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"TAPESTRA_STEP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    file_.assign(path, length);
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&last_);
    if (fromProcessStart) {
        wchar_t line[128];
        std::swprintf(line, 128, L"%ls\tsince the process was created\t%.2f\t%lu\n", what_.c_str(), MsSinceProcessCreation(),
                      WorkingSetKB());
        lines_ += line;
    }
}

void StepTrace::Step(const wchar_t* name) {
    if (!Enabled()) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    wchar_t line[160];
    std::swprintf(line, 160, L"%ls\t%ls\t%.2f\t%lu\n", what_.c_str(), name,
                  Ms(now.QuadPart - last_.QuadPart, frequency_), WorkingSetKB());
    lines_ += line;
    last_ = now;
}

StepTrace::~StepTrace() {
    Finish();
}

void StepTrace::Finish() {
    if (!Enabled()) return;
    const std::wstring path = std::move(file_);
    file_.clear();
    if (lines_.empty()) return;
    UniqueFile file{CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!file) return;
    // UTF-8, one line per step: trace, step, milliseconds, working set in KB,
    // tab separated.
    int bytes = WideCharToMultiByte(CP_UTF8, 0, lines_.c_str(), static_cast<int>(lines_.size()), nullptr, 0,
                                    nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, lines_.c_str(), static_cast<int>(lines_.size()), text.data(), bytes, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
