// The live count of handles held by the framework's owners, kept in test
// builds: taken, handed over and given back on every path.
#include "framework/Handle.h"

#include <gtest/gtest.h>

namespace {
HBRUSH NewBrush() {
    return CreateSolidBrush(RGB(1, 2, 3));
}
} // namespace

TEST(LiveHandles, CountedWhenTakenAndGivenBack) {
    const long start = LiveHandleCount(), brushes = UniqueBrush::Live();
    {
        UniqueBrush a(NewBrush());
        EXPECT_EQ(LiveHandleCount(), start + 1);
        EXPECT_EQ(UniqueBrush::Live(), brushes + 1);
        UniqueBrush b(std::move(a));
        EXPECT_EQ(LiveHandleCount(), start + 1) << "a move hands the count over";
        UniqueBrush c(NewBrush());
        c = std::move(b);
        EXPECT_EQ(LiveHandleCount(), start + 1) << "the brush c held was deleted";
        c.reset(NewBrush());
        EXPECT_EQ(LiveHandleCount(), start + 1);
        UniqueBrush d;
        d.reset(NewBrush());
        EXPECT_EQ(LiveHandleCount(), start + 2);
        DeleteObject(d.release());
        EXPECT_EQ(LiveHandleCount(), start + 1) << "released handles are no longer owned";
        c.reset();
        EXPECT_EQ(LiveHandleCount(), start);
        UniqueBitmap none(nullptr);
        EXPECT_EQ(LiveHandleCount(), start) << "a null handle is not counted";
        c = UniqueBrush(NewBrush());
    }
    EXPECT_EQ(LiveHandleCount(), start);
    EXPECT_EQ(UniqueBrush::Live(), brushes);
}

TEST(LiveHandles, AnOutParameterIsCountedOnceFilled) {
    const long start = LiveHandleCount(), keys = UniqueKey::Live();
    {
        UniqueKey key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
        EXPECT_EQ(LiveHandleCount(), start + 1);
        EXPECT_EQ(UniqueKey::Live(), keys + 1);
        // A failed call stores nothing to count.
        EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\no such key here", 0, KEY_READ, key.put()),
                  ERROR_SUCCESS);
        EXPECT_EQ(LiveHandleCount(), start);
    }
    EXPECT_EQ(LiveHandleCount(), start);
}
