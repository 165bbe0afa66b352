// Fill and fit of landscape, portrait, square, one-pixel and exactly fitting
// pictures on landscape and portrait screens, with the rounding rules.
#include "base/AlphaFlatten.h"
#include "base/PictureGeometry.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
struct GeometryCase {
    PixelSize picture, area;
    PixelRect fillCrop; // the fill's target is always the area
    PixelRect fit;
};

TEST(PictureGeometry, FillAndFit) {
    const PixelSize wide{1920, 1080}, tall{1080, 1920};
    const GeometryCase cases[] = {
        // Landscape screen: 3375 = 6000 * 1080 / 1920; the 625 rows left are cut 312 above, 313 below.
        {{6000, 4000}, wide, {0, 312, 6000, 3375}, {150, 0, 1620, 1080}},
        {{3000, 4000}, wide, {0, 1156, 3000, 1688}, {555, 0, 810, 1080}}, // 1687.5 rounds up
        {{1000, 1000}, wide, {0, 218, 1000, 563}, {420, 0, 1080, 1080}},
        {{1, 1}, wide, {0, 0, 1, 1}, {420, 0, 1080, 1080}},
        {{1920, 1080}, wide, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
        {{3840, 2160}, wide, {0, 0, 3840, 2160}, {0, 0, 1920, 1080}},
        {{1000, 1}, wide, {499, 0, 2, 1}, {0, 539, 1920, 2}},
        {{1, 1000}, wide, {0, 499, 1, 1}, {959, 0, 1, 1080}},
        // Portrait screen.
        {{6000, 4000}, tall, {1875, 0, 2250, 4000}, {0, 600, 1080, 720}},
        {{3000, 4000}, tall, {375, 0, 2250, 4000}, {0, 240, 1080, 1440}},
        {{1000, 1000}, tall, {218, 0, 563, 1000}, {0, 420, 1080, 1080}},
        {{1080, 1920}, tall, {0, 0, 1080, 1920}, {0, 0, 1080, 1920}},
        // An odd margin: the extra pixel goes right.
        {{1, 1}, {4, 3}, {0, 0, 1, 1}, {0, 0, 3, 3}},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width << "x" << c.picture.height << " on "
                                        << c.area.width << "x" << c.area.height);
        EXPECT_EQ(FillGeometry(c.picture, c.area), (FillPlan{c.fillCrop, c.area}));
        EXPECT_EQ(FitGeometry(c.picture, c.area), c.fit);
    }
    EXPECT_THROW(FillGeometry({0, 10}, wide), std::invalid_argument);
    EXPECT_THROW(FitGeometry({10, 10}, {1920, -1}), std::invalid_argument);
}

TEST(AlphaFlatten, OntoTheBackground) {
    const COLORREF teal = RGB(0, 128, 128);
    struct Case {
        AlphaKind kind;
        uint8_t in[4];  // B, G, R, A
        uint8_t out[3]; // B, G, R
    } cases[] = {
        {AlphaKind::Straight, {0, 255, 0, 0}, {128, 128, 0}},        // hidden green: the background exactly
        {AlphaKind::Straight, {10, 20, 30, 255}, {10, 20, 30}},      // opaque: itself exactly
        {AlphaKind::Straight, {255, 0, 0, 128}, {192, 64, 0}},       // half blue over teal
        {AlphaKind::Premultiplied, {0, 0, 0, 0}, {128, 128, 0}},     //
        {AlphaKind::Premultiplied, {10, 20, 30, 255}, {10, 20, 30}}, //
        {AlphaKind::Premultiplied, {128, 0, 0, 128}, {192, 64, 0}},  // the same half blue, premultiplied
    };
    for (const Case& c : cases) {
        uint8_t pixel[4] = {c.in[0], c.in[1], c.in[2], c.in[3]};
        FlattenAlpha(pixel, 1, c.kind, teal);
        EXPECT_EQ((std::vector<int>{pixel[0], pixel[1], pixel[2], pixel[3]}),
                  (std::vector<int>{c.out[0], c.out[1], c.out[2], 255}))
            << int(c.kind) << " " << int(c.in[3]);
    }
}
} // namespace
