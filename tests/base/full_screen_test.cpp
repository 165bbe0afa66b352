// The full-screen rule: a window of another program that covers its whole
// monitor, or the system saying the user is busy.
#include "base/FullScreen.h"

#include <gtest/gtest.h>

TEST(FullScreen, AnotherProgramCoveringItsMonitorOrABusySystem) {
    constexpr RECT first{0, 0, 1920, 1080}, second{-1280, 0, 0, 1024};
    using S = TSystemState;
    const TForegroundWindow desktop{first, first, true, false}, own{first, first, false, true};
    const struct {
        const char* What;
        S System;
        std::optional<TForegroundWindow> Front;
        bool FullScreen;
    } cases[] = {
        {"exactly covering", S::Free, TForegroundWindow{first, first}, true},
        {"larger than the monitor", S::Free, TForegroundWindow{{-8, -8, 1928, 1088}, first}, true},
        {"one pixel short on the right", S::Free, TForegroundWindow{{0, 0, 1919, 1080}, first}, false},
        {"one pixel short at the bottom", S::Free, TForegroundWindow{{0, 0, 1920, 1079}, first}, false},
        {"one pixel in from the left", S::Free, TForegroundWindow{{1, 0, 1920, 1080}, first}, false},
        {"covering the second monitor", S::Free, TForegroundWindow{second, second}, true},
        {"the first monitor's size, on the second", S::Free, TForegroundWindow{first, second}, false},
        {"the desktop", S::Free, desktop, false},
        {"this program's own window", S::Free, own, false},
        {"maximised, taskbar visible", S::Free, TForegroundWindow{{0, 23, 1920, 1040}, first}, false},
        {"maximised, taskbar hidden", S::Free, TForegroundWindow{{0, 23, 1920, 1080}, first}, false},
        {"no window in front", S::Free, std::nullopt, false},
        {"the system says busy", S::Busy, TForegroundWindow{{100, 100, 600, 400}, first}, true},
        {"no answer, covering", S::NoAnswer, TForegroundWindow{first, first}, true},
        {"no answer, the desktop", S::NoAnswer, desktop, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FullScreenAhead(c.System, c.Front), c.FullScreen) << c.What;
}
