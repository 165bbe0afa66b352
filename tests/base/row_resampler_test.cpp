// The streaming resampler: exact constants and copies, known averages,
// gradients without banding, transparency, any band size, extreme sizes.
#include "base/RowResampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace {
using Pixels = std::vector<uint32_t>; // 0xAARRGGBB, rows top-down

// Scales `in` pushing `band` rows at a time (as 24-bit rows for Bgr24);
// checks the rows come out in order, each once.
Pixels Scale(const Pixels& in, PixelSize from, PixelSize to, int band = 5,
             RowFormat format = RowFormat::Bgra32) {
    const size_t bytes = format == RowFormat::Bgr24 ? 3 : 4;
    std::vector<uint8_t> rows;
    for (uint32_t p : in)
        rows.insert(rows.end(), reinterpret_cast<const uint8_t*>(&p),
                    reinterpret_cast<const uint8_t*>(&p) + bytes);
    Pixels out;
    RowResampler resampler(from, to, format, [&](int y, const uint8_t* row) {
        EXPECT_EQ(y, int(out.size()) / to.width);
        out.insert(out.end(), reinterpret_cast<const uint32_t*>(row),
                   reinterpret_cast<const uint32_t*>(row) + to.width);
    });
    for (int y = 0; y < from.height; y += band)
        resampler.Push(&rows[size_t(y) * from.width * bytes], from.width * bytes,
                       std::min(band, from.height - y));
    EXPECT_TRUE(resampler.Done());
    return out;
}

Pixels Fill(PixelSize size, uint32_t (*pixel)(int x, int y)) {
    Pixels pixels;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            pixels.push_back(pixel(x, y));
    return pixels;
}

uint32_t Grey(int value) {
    return 0xFF000000u | uint32_t(value) * 0x010101u;
}

TEST(RowResampler, ConstantColoursStayExact) {
    const std::pair<PixelSize, PixelSize> sizes[] = {
        {{1, 1}, {1, 1}},    {{1, 1}, {7, 5}},       {{7, 5}, {1, 1}},       {{1, 100}, {1, 7}},
        {{100, 1}, {7, 1}},  {{1, 7}, {100, 1}},     {{20000, 1}, {1, 1}},   {{1, 9000}, {3, 2}},
        {{2, 2}, {1000, 3}}, {{100, 10}, {10, 100}}, {{64, 48}, {192, 108}}, {{192, 108}, {64, 48}},
        {{17, 13}, {5, 29}},
    };
    for (uint32_t colour : {0xFF123456u, 0x80FF8040u, 0x01FFFFFFu, 0x00000000u})
        for (const auto& [from, to] : sizes)
            ASSERT_EQ(Scale(Pixels(size_t(from.width) * from.height, colour), from, to),
                      Pixels(size_t(to.width) * to.height, colour))
                << std::hex << colour << std::dec << " " << from.width << "x" << from.height << " to "
                << to.width << "x" << to.height;
}

TEST(RowResampler, KnownAverages) {
    const uint32_t red = 0xFFFF0000, hiddenGreen = 0x0000FF00;
    const std::tuple<Pixels, PixelSize, PixelSize, Pixels> cases[] = {
        {{Grey(0), Grey(100), Grey(200), Grey(50)}, {4, 1}, {2, 1}, {Grey(50), Grey(125)}},
        // Each output covers one and a half inputs.
        {{Grey(0), Grey(90), Grey(180)}, {3, 1}, {2, 1}, {Grey(30), Grey(150)}},
        {{Grey(10), Grey(20), Grey(30), Grey(40)}, {2, 2}, {1, 1}, {Grey(25)}},
        // Growing: the centres fall a quarter and three quarters between the two.
        {{Grey(0), Grey(200)}, {2, 1}, {4, 1}, {Grey(0), Grey(50), Grey(150), Grey(200)}},
        {{Grey(0), Grey(200)}, {1, 2}, {1, 4}, {Grey(0), Grey(50), Grey(150), Grey(200)}},
        // Colour under alpha 0 never shows: red stays red as it fades, in
        // either direction and whichever row comes first.
        {{red, hiddenGreen}, {2, 1}, {1, 1}, {0x80FF0000}},
        {{red, hiddenGreen}, {1, 2}, {1, 1}, {0x80FF0000}},
        {{hiddenGreen, red}, {1, 2}, {1, 1}, {0x80FF0000}},
        {{red, hiddenGreen}, {2, 1}, {4, 1}, {red, 0xBFFF0000, 0x40FF0000, 0}},
    };
    for (const auto& [in, from, to, out] : cases)
        EXPECT_EQ(Scale(in, from, to), out) << from.width << "x" << from.height;
}

TEST(RowResampler, GradientsStayMonotonic) {
    const PixelSize from{1000, 300};
    const Pixels in = Fill(from, [](int x, int y) {
        return 0xFF000000u | uint32_t(x * 255 / 999) << 16 | uint32_t(y * 255 / 299);
    });
    for (PixelSize to : {PixelSize{333, 7}, PixelSize{7, 333}, PixelSize{2500, 1000}, PixelSize{999, 299}}) {
        const Pixels out = Scale(in, from, to, 13);
        for (size_t i = 1; i < out.size(); ++i) {
            const size_t width = size_t(to.width);
            const bool across = i % width == 0 || (out[i] >> 16 & 0xFF) >= (out[i - 1] >> 16 & 0xFF);
            const bool down = i < width || (out[i] & 0xFF) >= (out[i - width] & 0xFF);
            ASSERT_TRUE(across && down) << i % width << "," << i / width;
        }
    }
}

TEST(RowResampler, EqualAxesCopyExactly) {
    const PixelSize size{9, 6};
    // Alpha of every kind, and colour hidden under alpha 0.
    const Pixels in =
        Fill(size, [](int x, int y) { return uint32_t(x * 31 + y) << 24 | uint32_t(x * 7919 + y * 104729); });
    EXPECT_EQ(Scale(in, size, size), in);
    // Scaling rows only keeps each column that is the same all the way down.
    const Pixels columns =
        Fill(size, [](int x, int) { return uint32_t(40 + x * 25) << 24 | 0x123456u * (x + 1); });
    const Pixels taller = Scale(columns, size, {9, 14});
    for (int y = 0; y < 14; ++y)
        EXPECT_TRUE(std::equal(columns.begin(), columns.begin() + 9, taller.begin() + y * 9)) << y;
    // 24-bit rows are opaque 32-bit ones.
    const Pixels opaque =
        Fill({31, 9}, [](int x, int y) { return 0xFF000000u | uint32_t(x * 977 + y * 3361); });
    EXPECT_EQ(Scale(opaque, {31, 9}, {12, 20}, 3, RowFormat::Bgr24), Scale(opaque, {31, 9}, {12, 20}, 1));
}

TEST(RowResampler, RowsComeOutAsSoonAsTheyAreComplete) {
    const Pixels in(100, Grey(7));
    for (auto [from, to, pushed, out] : {std::tuple{100, 10, 10, 1}, {10, 100, 1, 5}, {10, 100, 2, 15}}) {
        int emitted = 0;
        RowResampler resampler({1, from}, {1, to}, RowFormat::Bgra32,
                               [&](int, const uint8_t*) { ++emitted; });
        resampler.Push(reinterpret_cast<const uint8_t*>(in.data()), 4, pushed);
        EXPECT_EQ(emitted, out) << from << " to " << to;
        EXPECT_THROW(resampler.Push(reinterpret_cast<const uint8_t*>(in.data()), 4, from), std::logic_error);
    }
    EXPECT_THROW(RowResampler({0, 1}, {1, 1}, RowFormat::Bgra32, nullptr), std::invalid_argument);
}
} // namespace
