#pragma once
// Where the time of a start or a change goes, for the benchmarks. When the
// environment variable TAPESTRA_STEP_TRACE names a file, each Step() records
// the milliseconds since the previous one and the working set, and the lines
// are appended to that file when the trace ends. Otherwise a trace costs one environment lookup.
#include <windows.h>

#include <string>

class StepTrace {
  public:
    // fromProcessStart: the first step also counts the time from the
    // creation of the process (loading the program and its DLLs).
    explicit StepTrace(std::wstring what, bool fromProcessStart = false);
    ~StepTrace();
    StepTrace(const StepTrace&) = delete;
    StepTrace& operator=(const StepTrace&) = delete;

    void Step(const wchar_t* name);
    // Writes the lines now; later steps are not recorded.
    void Finish();
    bool Enabled() const { return !file_.empty(); }

  private:
    std::wstring file_;
    std::wstring what_;
    std::wstring lines_;
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER last_{};
};
