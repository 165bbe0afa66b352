// Hosts load a plug-in for every picture and release it again: a thousand
// pictures must not use up the TLS indexes (a process has 1,088 of them), nor
// leave memory behind. The working set after the loads is printed for the
// status figures.
#include "PluginCases.h"
#include "SpiHost.h"
#include "support/ProcessFigures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <utility>

namespace {
DWORD NextTlsIndex() {
    const DWORD index = TlsAlloc();
    TlsFree(index);
    return index;
}

// The bytes of every heap of the process in use: what loads leave behind,
// to the byte (the working set moves in pages and with the system's caches).
size_t HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(static_cast<DWORD>(std::size(heaps)), heaps);
    size_t bytes = 0;
    for (DWORD i = 0; i < count && i < std::size(heaps); ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return bytes;
}
} // namespace

TEST(PluginUnload, EachLoadAndReleaseGivesEverythingBack) {
    const std::string missing = testimg::Ansi(testimg::TempFolder() + L"missing.gif");
    constexpr int kLoads = 200;
    for (const PluginCase& plugin : kAllPlugins) {
        testimg::TempFile sample(std::wstring(L"unload") + plugin.extension, Sample(plugin, 16, 8));
        // A failing call throws inside the plug-in, which sets up more of its
        // runtime (the exception state, the thread library's locks).
        const std::pair<const char*, std::function<void(const SpiHost&)>> uses[] = {
            {"a good call", [&](const SpiHost& host) { EXPECT_EQ(host.Picture(sample.ansi()).result, 0); }},
            {"a failing and a good call",
             [&](const SpiHost& host) {
                 EXPECT_NE(host.Picture(missing).result, 0);
                 EXPECT_EQ(host.Picture(sample.ansi()).result, 0);
             }},
        };
        for (const auto& [name, calls] : uses) {
            SCOPED_TRACE(std::string(plugin.name) + ", " + name);
            // The first round warms up what the process keeps anyway (COM, WIC).
            for (int round = 0; round < 2; ++round) {
                const DWORD tls = NextTlsIndex();
                const size_t workingSet = figures::WorkingSet(), heapBytes = HeapBytesInUse();
                for (int i = 0; i < kLoads; ++i) {
                    SpiHost host(plugin.file);
                    ASSERT_TRUE(host.loaded());
                    calls(host);
                }
                if (round == 0) continue;
                EXPECT_EQ(NextTlsIndex(), tls) << "TLS indexes are not given back";
                const long heapGrowth = static_cast<long>(HeapBytesInUse() - heapBytes);
                EXPECT_EQ(heapGrowth, 0) << "bytes left behind";
                std::printf("%s, %s: %d loads, heap %+ld bytes, working set %+ld KB\n", plugin.name, name,
                            kLoads, heapGrowth, static_cast<long>(figures::WorkingSet() - workingSet) / 1024);
            }
        }
    }
}
