// Hosts load a plug-in for every picture and release it again: a thousand
// pictures must not use up the TLS indexes (a process has 1,088 of them).
// The working set after the loads is printed for the status figures.
#include "PluginCases.h"
#include "SpiHost.h"
#include "support/ProcessFigures.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {
DWORD NextTlsIndex() {
    const DWORD index = TlsAlloc();
    TlsFree(index);
    return index;
}
} // namespace

TEST(PluginUnload, EachLoadAndReleaseGivesEverythingBack) {
    testimg::TempFile gif(L"unload.gif",
                          testimg::EncodeIndexed(GUID_ContainerFormatGif, 16, 8, kGifColours, GifIndex));
    for (const PluginCase& plugin : kAllPlugins) {
        // The first round warms up what the process keeps anyway (COM, WIC).
        for (int round = 0; round < 2; ++round) {
            const DWORD tls = NextTlsIndex();
            const size_t workingSet = figures::WorkingSet();
            for (int i = 0; i < 200; ++i) {
                SpiHost host(plugin.file);
                ASSERT_TRUE(host.loaded()) << plugin.name;
                // A failure and a success, so the runtime's exception paths run too.
                host.Picture(testimg::Ansi(testimg::TempFolder() + L"missing.gif"));
                host.Picture(gif.ansi());
            }
            if (round == 0) continue;
            EXPECT_EQ(NextTlsIndex(), tls) << plugin.name << ": TLS indexes are not given back";
            std::printf("%s: 200 loads, the working set %+ld KB\n", plugin.name,
                        static_cast<long>(figures::WorkingSet() - workingSet) / 1024);
        }
    }
}
