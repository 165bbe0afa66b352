#pragma once
// Ends the process when one case runs longer than its limit, naming the case
// and the file it was reading; a crash names them the same way, through the
// unhandled-exception filter or, when the test framework caught it, when the
// watchdog goes while still armed. The input is kept for the regression
// folder.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace fuzz {

class Watchdog {
  public:
    explicit Watchdog(int limitMs) : limit_(limitMs), thread_([this](std::stop_token stop) { Watch(stop); }) {
        current_ = this;
        SetUnhandledExceptionFilter(&Watchdog::OnCrash);
    }
    ~Watchdog() {
        // Still armed: the case ended in an exception the test framework caught.
        if (armed_) Report("crash");
        SetUnhandledExceptionFilter(nullptr);
        current_ = nullptr;
    }
    void Arm(const std::string& what, const std::wstring& file) {
        std::lock_guard lock(mutex_);
        what_ = what;
        file_ = file;
        started_ = std::chrono::steady_clock::now();
        armed_ = true;
    }
    void Disarm() {
        std::lock_guard lock(mutex_);
        armed_ = false;
    }

  private:
    void Watch(std::stop_token stop) {
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::lock_guard lock(mutex_);
            if (armed_ && std::chrono::steady_clock::now() - started_ > std::chrono::milliseconds(limit_)) {
                Report("hang");
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }
    // The input is copied into the test's working folder: its scratch
    // folder goes with the test.
    void Report(const char* kind) const {
        const size_t dot = file_.rfind(L'.');
        const std::wstring kept =
            L"fuzz-kept" + (dot == std::wstring::npos ? std::wstring() : file_.substr(dot));
        CopyFileW(file_.c_str(), kept.c_str(), FALSE);
        std::fprintf(stderr, "fuzz: %s in %s; the input is kept as %ls\n", kind, what_.c_str(), kept.c_str());
        std::fflush(stderr);
    }
    static LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
        if (current_ && current_->armed_) current_->Report("crash");
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline Watchdog* current_ = nullptr;
    int limit_;
    std::mutex mutex_;
    std::string what_;
    std::wstring file_;
    std::chrono::steady_clock::time_point started_;
    bool armed_ = false;
    std::jthread thread_;
};

} // namespace fuzz
