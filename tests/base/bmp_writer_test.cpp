// The banded BMP writer read back through the program's own BMP loader:
// odd widths (row padding), every depth it writes, bands of any size, and
// rows numbered bottom-up as the file stores them.
#include "base/BmpWriter.h"
#include "base/ColorPalette.h"
#include "framework/DibFile.h"
#include "framework/Handle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

// The value of pixel x in the file's row r (0 = bottom): an index into the
// table's colours, or a colour of its own above 8 bits.
unsigned ValueAt(int x, int r, int bits, size_t colors) {
    unsigned v = static_cast<unsigned>(x * 7 + r * 13 + 1);
    return bits <= 8 ? v % colors : (v * 0x010305u) & 0xFFFFFF;
}

void Put(BYTE* row, int x, int bits, unsigned v) {
    switch (bits) {
    case 1:
    case 4:
    case 8: {
        const int perByte = 8 / bits, shift = (perByte - 1 - x % perByte) * bits;
        row[x / perByte] = static_cast<BYTE>(row[x / perByte] | v << shift);
        break;
    }
    case 24:
        row[x * 3] = static_cast<BYTE>(v);
        row[x * 3 + 1] = static_cast<BYTE>(v >> 8);
        row[x * 3 + 2] = static_cast<BYTE>(v >> 16);
        break;
    default:
        reinterpret_cast<DWORD*>(row)[x] = v;
    }
}

std::vector<RGBQUAD> Table(int count) {
    std::vector<RGBQUAD> colors;
    for (int i = 0; i < count; ++i)
        colors.push_back({static_cast<BYTE>(i * 37), static_cast<BYTE>(255 - i * 5), static_cast<BYTE>(i * 3), 0});
    return colors;
}

std::vector<BYTE> Write(const BmpFormat& format, size_t bandBytes, std::vector<int>* bandStarts = nullptr) {
    std::vector<BYTE> file;
    const size_t stride = static_cast<size_t>(DibStride(format.Width, format.BitCount));
    WriteBmp(
        format, bandBytes,
        [&](int first, int count, BYTE* band) {
            if (bandStarts) bandStarts->push_back(first);
            for (int i = 0; i < count; ++i) {
                BYTE* row = band + stride * static_cast<size_t>(i);
                std::fill(row, row + stride, BYTE{0});
                for (int x = 0; x < format.Width; ++x)
                    Put(row, x, format.BitCount, ValueAt(x, first + i, format.BitCount, format.Colors.size()));
            }
        },
        [&](const void* data, size_t size) {
            const auto* bytes = static_cast<const BYTE*>(data);
            file.insert(file.end(), bytes, bytes + size);
        });
    return file;
}

COLORREF Expected(int x, int r, int bits, const std::vector<RGBQUAD>& table) {
    const unsigned v = ValueAt(x, r, bits, table.size());
    if (bits <= 8) return RGB(table[v].rgbRed, table[v].rgbGreen, table[v].rgbBlue);
    return RGB(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
}

// Every pixel of the decoded picture, top row first, against the source's
// row numbered from the bottom.
void ExpectPixels(const std::vector<BYTE>& file, const BmpFormat& format, const std::vector<RGBQUAD>& table) {
    UniqueBitmap decoded = DecodeBmpFile(file);
    ASSERT_TRUE(decoded) << format.Width << "x" << format.Height << " at " << format.BitCount;
    UniqueDC dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), decoded.get());
    for (int y = 0; y < format.Height; ++y)
        for (int x = 0; x < format.Width; ++x)
            ASSERT_EQ(GetPixel(dc.get(), x, y), Expected(x, format.Height - 1 - y, format.BitCount, table))
                << x << "," << y << " of " << format.Width << "x" << format.Height << " at " << format.BitCount;
}

} // namespace

TEST(BmpWriter, RoundTripsOddWidthsAtEveryDepthInAnyBanding) {
    for (int bits : {1, 4, 8, 24, 32}) {
        const std::vector<RGBQUAD> table = bits <= 8 ? Table(1 << bits) : std::vector<RGBQUAD>{};
        for (int width : {1, 3, 5, 7, 13, 33}) {
            BmpFormat format;
            format.Width = width;
            format.Height = 11;
            format.BitCount = bits;
            format.Colors = table;
            const size_t stride = static_cast<size_t>(DibStride(width, bits));
            // One row a band, an uneven last band, and one band for all.
            for (size_t bandBytes : {size_t{1}, stride * 4, stride * 100}) {
                std::vector<BYTE> file = Write(format, bandBytes);
                ASSERT_EQ(file.size(), 14 + 40 + table.size() * 4 + stride * 11);
                ExpectPixels(file, format, table);
            }
        }
    }
}

TEST(BmpWriter, AsksForEveryRowOnceBottomUpInBands) {
    BmpFormat format;
    format.Width = 5;
    format.Height = 10;
    std::vector<int> starts;
    Write(format, static_cast<size_t>(DibStride(5, 32)) * 4, &starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 4, 8}));
}

TEST(BmpWriter, TakesTheColourTableTheFirstBandFilledIn) {
    // As GetDIBits does: the table is known only once rows have been read.
    std::vector<RGBQUAD> table(16);
    BmpFormat format;
    format.Width = 3;
    format.Height = 2;
    format.BitCount = 4;
    format.Colors = table;
    std::vector<BYTE> file;
    WriteBmp(
        format, 1,
        [&](int first, int, BYTE* band) {
            if (first == 0) {
                const std::vector<RGBQUAD> known = Table(16);
                std::copy(known.begin(), known.end(), table.begin());
            }
            band[0] = 0x12;
            band[1] = 0x30;
        },
        [&](const void* data, size_t size) {
            file.insert(file.end(), static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
        });
    UniqueBitmap decoded = DecodeBmpFile(file);
    ASSERT_TRUE(decoded);
    UniqueDC dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), decoded.get());
    const RGBQUAD three = Table(16)[3];
    EXPECT_EQ(GetPixel(dc.get(), 2, 0), RGB(three.rgbRed, three.rgbGreen, three.rgbBlue));
}

TEST(BmpWriter, WritesAShortTableWithItsCount) {
    const std::vector<RGBQUAD> table = Table(5);
    BmpFormat format;
    format.Width = 7;
    format.Height = 3;
    format.BitCount = 8;
    format.Colors = table;
    std::vector<BYTE> file = Write(format, 64);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, file.data() + 14, sizeof(header));
    EXPECT_EQ(header.biClrUsed, 5u);
    ExpectPixels(file, format, table);
}

TEST(BmpWriter, RefusesAFormatItCannotWrite) {
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    const BmpFormat bad[] = {{0, 4, 32, {}, {}},
                             {4, 0, 32, {}, {}},
                             {4, -3, 32, {}, {}},
                             {4, 4, 12, {}, {}},
                             {4, 4, 0, {}, {}},
                             {4, 4, 24, {}, masks},
                             {4, 4, 16, {}, std::span<const DWORD>(masks, 2)}};
    for (const BmpFormat& format : bad)
        EXPECT_THROW(Write(format, 64), std::invalid_argument) << format.Width << "x" << format.Height;
}

TEST(ColorPalette, HoldsTheColoursInTheirOrder) {
    const std::vector<RGBQUAD> table = Table(7);
    UniquePalette palette(CreateColorPalette(table));
    ASSERT_TRUE(palette);
    PALETTEENTRY entries[8]{};
    ASSERT_EQ(GetPaletteEntries(palette.get(), 0, 8, entries), 7u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue),
                  RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue))
            << i;
    EXPECT_EQ(CreateColorPalette({}), nullptr);
    EXPECT_EQ(CreateColorPalette(Table(257)), nullptr);
}
