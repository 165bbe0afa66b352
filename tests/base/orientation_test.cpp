// Orientation read from the files' own bytes and applied to their pixels,
// against ImageMagick's -auto-orient of the same files (made at build time by
// tests/support/make-picture-fixtures.sh), and damaged Exif blocks.
#include "base/ExifOrientation.h"
#include "base/Orientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {
using Bytes = std::vector<uint8_t>;

Bytes ReadFixture(const std::string& name) {
    std::ifstream file(std::string(PICTURE_FIXTURES) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

std::vector<uint32_t> Pixels(const Bytes& rgba) {
    std::vector<uint32_t> pixels(rgba.size() / 4);
    std::memcpy(pixels.data(), rgba.data(), pixels.size() * 4);
    return pixels;
}

class OrientationFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(OrientationFixture, EightValuesMatchAutoOrient) {
    const PixelSize stored{7, 4};
    for (int value = 1; value <= 8; ++value) {
        const std::string name = GetParam() + std::to_string(value);
        SCOPED_TRACE(name);
        const Bytes file = ReadFixture(name + (GetParam() == "o" ? ".jpg" : ".tif"));
        ASSERT_FALSE(file.empty());
        EXPECT_EQ(PictureOrientation(MemoryReader(file)), value);
        const std::string path = PICTURE_FIXTURES "/" + name + (GetParam() == "o" ? ".jpg" : ".tif");
        EXPECT_EQ(FileOrientation(std::wstring(path.begin(), path.end()).c_str()), value);

        const std::vector<uint32_t> in = Pixels(ReadFixture(name + ".rgba"));
        const std::vector<uint32_t> expected = Pixels(ReadFixture(name + ".upright.rgba"));
        ASSERT_EQ(in.size(), 28u);
        const PixelSize shown = OrientedSize(stored, value);
        std::vector<uint32_t> out(in.size());
        OrientPixels(in.data(), stored.width * 4, stored, value, out.data(), shown.width * 4);
        EXPECT_EQ(out, expected);
        // A rectangle of the shown picture maps back onto the stored pixels it shows.
        const PixelRect part{1, 2, shown.width - 2, shown.height - 2};
        const PixelRect back = StoredRect(part, stored, value);
        std::vector<uint32_t> storedPart, shownPart;
        for (int y = 0; y < back.height; ++y)
            for (int x = 0; x < back.width; ++x)
                storedPart.push_back(in[(back.top + y) * stored.width + back.left + x]);
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x)
                shownPart.push_back(out[(part.top + y) * shown.width + part.left + x]);
        std::sort(storedPart.begin(), storedPart.end());
        std::sort(shownPart.begin(), shownPart.end());
        EXPECT_EQ(storedPart, shownPart);
    }
}
INSTANTIATE_TEST_SUITE_P(JpegAndTiff, OrientationFixture, ::testing::Values("o", "t"));

// Two hex digits a byte, blanks between groups.
Bytes Hex(std::string_view text) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += text[i] == ' ' ? 1 : 2)
        if (text[i] != ' ') bytes.push_back(uint8_t(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

TEST(ExifOrientation, DamagedBlocksReadAsStored) {
    // SOI; APP1 of 34 bytes: "Exif", TIFF header "II" 42 with its directory
    // at 8 (byte 16 of the file), 1 entry (20): tag 0x0112 (22), SHORT (24),
    // count 1 (26), value 6 (30), no next directory; a scan.
    const Bytes sound = Hex("ffd8 ffe10022 457869660000 49492a00 08000000 0100 1201 0300 01000000 0600 0000 "
                            "00000000 ffda000200 ffd9");
    struct Case {
        const char* what;
        size_t at; // where `bytes` replace the sound ones
        Bytes bytes;
        size_t keep = 0; // the file cut to this many bytes
    } patches[] = {
        {"value 0", 30, {0, 0}},
        {"value 9", 30, {9, 0}},
        {"value 0xFFFF", 30, {255, 255}},
        {"type LONG", 24, {4, 0}},
        {"count 2", 26, {2, 0, 0, 0}},
        {"no such tag", 22, {0x10, 0x01}},
        {"directory past the end", 16, {0xF0, 0xFF, 0xFF, 0x7F}},
        {"directory inside the header", 16, {4, 0, 0, 0}},
        {"directory at the header, a loop", 16, {0, 0, 0, 0}},
        {"65535 entries", 20, {255, 255}},
        {"no entries", 20, {0, 0}},
        {"byte order XX", 12, {'X', 'X'}},
        {"magic 43", 14, {43, 0}},
        {"signature Exix", 9, {'x'}},
        {"segment past the file's end", 4, {0x10, 0}},
        {"segment too short for its entry", 4, {0, 28}},
        {"segment length 1", 4, {0, 1}},
        {"cut in the entry", 0, {}, 28},
        {"cut in the TIFF header", 0, {}, 14},
    };
    EXPECT_EQ(PictureOrientation(MemoryReader(sound)), 6);
    for (const Case& c : patches) {
        Bytes file = sound;
        std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + c.at);
        if (c.keep) file.resize(c.keep);
        EXPECT_EQ(PictureOrientation(MemoryReader(file)), 1) << c.what;
    }
    const Bytes soi = Hex("ffd8"), rest(sound.begin() + 2, sound.end());
    EXPECT_EQ(PictureOrientation(MemoryReader(Join({soi, Hex("ffe10008 68747470 3a2f"), rest}))), 6)
        << "an XMP block first";
    EXPECT_EQ(PictureOrientation(MemoryReader(Join({soi, Hex("ffda0002"), rest}))), 1)
        << "Exif after the scan";
    for (const Bytes& other : {Bytes{}, soi, Hex("89504e470d0a1a0a")})
        EXPECT_EQ(PictureOrientation(MemoryReader(other)), 1);
}

TEST(ExifOrientation, TiffFileDirectoryAtTheEnd) {
    // The header points past 1000 bytes of strips to the directory.
    Bytes tiff(0x3F0, 0x55);
    const uint8_t header[] = {'M', 'M', 0, 42, 0, 0, 0x03, 0xF0};
    std::copy(std::begin(header), std::end(header), tiff.begin());
    tiff.insert(tiff.end(), {0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(PictureOrientation(MemoryReader(tiff)), 8);
    tiff.resize(tiff.size() - 10);
    EXPECT_EQ(PictureOrientation(MemoryReader(tiff)), 1);
}
} // namespace
