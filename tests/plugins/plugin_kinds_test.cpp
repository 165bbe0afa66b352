// Kinds of picture a platform decoder gets wrong or cannot read: TIFF files
// written here byte by byte, each decoded to its pixels or reported as an
// unsupported format (never as broken data), and the GIF without any colour
// table that made the decoder fault.
#include "SpiHost.h"
#include "TiffBytes.h"

#include <gtest/gtest.h>

namespace {
using testimg::TempFile;

struct TiffCase {
    const char* name;
    TiffSpec spec;
    int32_t result;
    std::vector<uint32_t> row; // 0xRRGGBB of each pixel
};

TiffSpec Rgb16(bool bigEndian) {
    return {bigEndian, 2, 16, 3, 2, 1, 1, -1, {0x1234, 0xABCD, 0x0102, 0xFF00, 0x00FF, 0x8080}};
}

std::vector<TiffCase> TiffCases() {
    std::vector<TiffCase> cases;
    auto add = [&](const char* name, TiffSpec spec, int32_t result, std::vector<uint32_t> row) {
        cases.push_back({name, std::move(spec), result, std::move(row)});
    };
    add("16-bit RGB, little-endian", Rgb16(false), 0, {0x12AB01, 0xFF0080});
    add("16-bit RGB, big-endian", Rgb16(true), 0, {0x12AB01, 0xFF0080});
    add("16-bit grey, big-endian", {true, 2, 16, 1, 1, 1, 1, -1, {0x1234, 0xFEDC}}, 0, {0x121212, 0xFEFEFE});
    add("16-bit RGBA, big-endian", {true, 1, 16, 4, 2, 1, 1, 2, {0x1234, 0x5678, 0x9ABC, 0xFFFF}}, 0,
        {0x12569A});
    add("grey and alpha", {false, 2, 8, 2, 1, 1, 1, 2, {0x40, 0x80, 0xC0, 0xFF}}, 0, {0x404040, 0xC0C0C0});
    add("grey and alpha, white is zero", {false, 2, 8, 2, 0, 1, 1, 2, {0x40, 0x80, 0xC0, 0xFF}}, 0,
        {0xBFBFBF, 0x3F3F3F});
    // A colour above its alpha (rounding in the writer) stays at the top.
    add("associated alpha", {false, 2, 8, 4, 2, 1, 1, 1, {0xFF, 0xFF, 0xFF, 0xFE, 0x40, 0x20, 0x80, 0x80}}, 0,
        {0xFFFFFF, 0x8040FF});
    add("grey and associated alpha", {false, 1, 8, 2, 1, 1, 1, 1, {0x81, 0x80}}, 0, {0xFFFFFF});
    add("16-bit associated alpha", {false, 1, 16, 4, 2, 1, 1, 1, {0x4000, 0x2000, 0x8000, 0x8000}}, 0,
        {0x8040FF});
    add("CMYK", {false, 2, 8, 4, 5, 1, 1, -1, {0, 0, 0, 0, 0xFF, 0, 0, 0}}, 0, {0xFFFFFF, 0x00FFFF});
    add("CMYK with alpha", {false, 1, 8, 5, 5, 1, 1, 2, {0, 0, 0, 0, 0xFF}}, susie::UnknownFormat, {});
    add("YCbCr", {false, 1, 8, 3, 6, 1, 1, -1, {0x80, 0x80, 0x80}}, susie::UnknownFormat, {});
    add("RGB in planes", {false, 2, 8, 3, 2, 1, 2, -1, {1, 2, 3, 4, 5, 6}}, susie::UnknownFormat, {});
    add("JPEG-compressed", {false, 2, 8, 3, 2, 7, 1, -1, {1, 2, 3, 4, 5, 6}}, susie::UnknownFormat, {});
    add("RGB cut short", {false, 2, 8, 3, 2, 1, 1, -1, {1, 2, 3, 4, 5, 6}, true}, susie::BrokenData, {});
    return cases;
}

TEST(PluginKinds, TiffKindsDecodeToTheirPixelsOrAreUnsupported) {
    SpiHost host(L"iftiff.spi");
    ASSERT_TRUE(host.loaded());
    for (const TiffCase& c : TiffCases()) {
        SCOPED_TRACE(c.name);
        TempFile file(L"kind.tif", WriteTiff(c.spec));
        EXPECT_EQ(host.Preview(file.ansi()).result, c.result) << "preview";
        const DecodedDib dib = host.Picture(file.ansi());
        EXPECT_EQ(dib.result, c.result);
        if (dib.result != susie::Success || c.result != susie::Success) continue;
        ASSERT_EQ(dib.header.biWidth, LONG(c.row.size()));
        for (uint32_t x = 0; x < c.row.size(); ++x)
            EXPECT_EQ(dib.Rgb(x, 0), c.row[x]) << "pixel " << x << " is " << std::hex << dib.Rgb(x, 0);
    }
}

// A logical screen without a colour table, an image without one, and the
// codes of its indices: the decoder reads the default table.
testimg::Bytes GifWithoutColourTable(uint8_t width, std::initializer_list<uint8_t> codes) {
    testimg::Bytes gif = {'G', 'I', 'F', '8', '9', 'a', width, 0, 1, 0, 0x00, 0, 0};
    for (uint8_t b : {0x2C, 0, 0, 0, 0, int(width), 0, 1, 0, 0x00, 2, int(codes.size())})
        gif.push_back(uint8_t(b));
    gif.insert(gif.end(), codes);
    gif.push_back(0);
    gif.push_back(0x3B);
    return gif;
}

TEST(PluginKinds, AGifWithoutAnyColourTableUsesTheDefaultOne) {
    SpiHost host(L"ifgif.spi");
    ASSERT_TRUE(host.loaded());
    struct GifCase {
        const char* name;
        testimg::Bytes bytes;
        std::vector<uint32_t> row;
    };
    // Codes of three bits: clear (4), the indices, end (5).
    const GifCase cases[] = {
        {"one pixel of index 0 (29 bytes)", GifWithoutColourTable(1, {0x44, 0x01}), {0x000000}},
        {"indices 0 and 1", GifWithoutColourTable(2, {0x44, 0x0A}), {0x000000, 0xFFFFFF}},
    };
    ASSERT_EQ(cases[0].bytes.size(), 29u);
    for (const GifCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile file(L"no-table.gif", c.bytes);
        const DecodedDib dib = host.Picture(file.ansi());
        ASSERT_EQ(dib.result, susie::Success);
        ASSERT_EQ(dib.header.biWidth, LONG(c.row.size()));
        for (uint32_t x = 0; x < c.row.size(); ++x)
            EXPECT_EQ(dib.Rgb(x, 0), c.row[x]) << "pixel " << x;
    }
}

} // namespace
