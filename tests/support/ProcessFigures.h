#pragma once
// Figures of the test process for long runs: its working set, and run
// lengths taken from the environment.
#include <windows.h>

#include <psapi.h>

#include <cstdlib>

namespace figures {

inline PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}
inline size_t WorkingSet() {
    return Memory().WorkingSetSize;
}
inline size_t PeakWorkingSet() {
    return Memory().PeakWorkingSetSize;
}

// A count set in the environment (TAPESTRA_...), else the default.
inline unsigned EnvNumber(const char* name, unsigned otherwise) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : otherwise;
}

} // namespace figures
