// Which reduced size a decoder that can reduce (Windows' JPEG codec; Wine has
// none) is asked for: the smallest that keeps the part shown at least as
// large as the screen.
#include "plugins/common/ScaledBands.h"

#include <gtest/gtest.h>

namespace {
// Like the JPEG codec: sizes of 1/1, 1/2, 1/4 and 1/8, rounded up; the
// smallest not below the size asked for.
spi::ClosestSize JpegLike(PixelSize picture) {
    return [picture](uint32_t& width, uint32_t& height) {
        for (uint32_t scale : {8u, 4u, 2u, 1u}) {
            const uint32_t w = (picture.width + scale - 1) / scale, h = (picture.height + scale - 1) / scale;
            if (w >= width && h >= height) {
                width = w, height = h;
                return true;
            }
        }
        width = picture.width, height = picture.height;
        return true;
    };
}

TEST(ChooseReduction, SmallestNotBelowTheScreen) {
    const PixelSize screen{1920, 1080};
    struct Case {
        PixelSize picture;
        PixelRect crop;
        PixelSize target;
        spi::DecoderReduction expected;
    } cases[] = {
        {{6000, 4000}, {0, 0, 6000, 4000}, screen, {2, {3000, 2000}, {0, 0, 3000, 2000}}},
        {{12000, 9000}, {0, 0, 12000, 9000}, screen, {4, {3000, 2250}, {0, 0, 3000, 2250}}},
        // Fill of the same: the crop is mapped, its edges rounded.
        {{12000, 9000}, {0, 1125, 12000, 6750}, screen, {4, {3000, 2250}, {0, 281, 3000, 1688}}},
        {{6000, 4000}, {0, 0, 6000, 4000}, {600, 400}, {8, {750, 500}, {0, 0, 750, 500}}},
        {{1001, 1001}, {0, 0, 1001, 1001}, {125, 125}, {8, {126, 126}, {0, 0, 126, 126}}},
        // Growing: nothing to reduce.
        {{100, 100}, {0, 0, 100, 100}, {200, 200}, {1, {100, 100}, {0, 0, 100, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.picture.width << "x" << c.picture.height << " to " << c.target.width);
        EXPECT_EQ(spi::ChooseReduction(c.picture, c.crop, c.target, JpegLike(c.picture)), c.expected);
    }
    const PixelSize big{6000, 4000};
    const spi::DecoderReduction none{1, big, {0, 0, 6000, 4000}};
    EXPECT_EQ(spi::ChooseReduction(big, none.crop, {100, 100}, [](uint32_t&, uint32_t&) { return false; }),
              none);
    EXPECT_EQ(spi::ChooseReduction(big, none.crop, {100, 100},
                                   [](uint32_t& w, uint32_t& h) { return w = 6000, h = 4000, true; }),
              none);
}
} // namespace
