// Orientation read from the files' own bytes and applied to their pixels,
// against ImageMagick's -auto-orient of the same files (made at build time by
// tests/support/make-picture-fixtures.sh), and damaged Exif blocks.
#include "base/ExifOrientation.h"
#include "base/Orientation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
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

// A JPEG holding `app1` (marker and length included) after SOI, then a scan.
Bytes Jpeg(const Bytes& app1) {
    const uint8_t soi[] = {0xFF, 0xD8}, scan[] = {0xFF, 0xDA, 0x00, 0x02, 0x00, 0xFF, 0xD9};
    Bytes jpeg(sizeof(soi) + app1.size() + sizeof(scan));
    auto at = std::copy(std::begin(soi), std::end(soi), jpeg.begin());
    at = std::copy(app1.begin(), app1.end(), at);
    std::copy(std::begin(scan), std::end(scan), at);
    return jpeg;
}

// APP1 "Exif" holding a little-endian TIFF header whose first directory has
// one entry; each field can be spoilt.
struct Exif {
    const char* signature = "Exif";
    uint8_t order = 'I';
    uint16_t magic = 42;
    uint32_t directory = 8;
    uint16_t entries = 1;
    uint16_t tag = 0x0112, type = 3;
    uint32_t count = 1;
    uint16_t value = 6;
    int lengthChange = 0;
    size_t cut = 0; // bytes taken off the end of the file

    Bytes File() const {
        Bytes tiff{order, order};
        auto put = [&](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i)
                tiff.push_back(uint8_t(v >> (8 * i)));
        };
        put(magic, 2), put(directory, 4), put(entries, 2), put(tag, 2), put(type, 2), put(count, 4);
        put(value, 2), put(0, 2), put(0, 4);
        Bytes app1{0xFF, 0xE1};
        const int length = int(2 + 6 + tiff.size()) + lengthChange;
        app1.push_back(uint8_t(length >> 8)), app1.push_back(uint8_t(length));
        app1.insert(app1.end(), signature, signature + 4);
        app1.insert(app1.end(), {0, 0});
        app1.insert(app1.end(), tiff.begin(), tiff.end());
        Bytes file = Jpeg(app1);
        file.resize(file.size() - std::min(cut, file.size()));
        return file;
    }
};

struct DamageCase {
    const char* what;
    Bytes file;
    int expected;
};

Exif With(void (*change)(Exif&)) {
    Exif exif;
    change(exif);
    return exif;
}

TEST(ExifOrientation, DamagedBlocksReadAsStored) {
    const Bytes xmp{0xFF, 0xE1, 0x00, 0x08, 'h', 't', 't', 'p', ':', '/'};
    Bytes xmpThenExif = Exif{}.File();
    xmpThenExif.insert(xmpThenExif.begin() + 2, xmp.begin(), xmp.end());
    Bytes afterScan{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02};
    const Bytes exif = Exif{}.File();
    afterScan.insert(afterScan.end(), exif.begin() + 2, exif.end());
    const std::vector<DamageCase> cases = {
        {"sound block", Exif{}.File(), 6},
        {"an XMP block first", xmpThenExif, 6},
        {"value 0", With([](Exif& e) { e.value = 0; }).File(), 1},
        {"value 9", With([](Exif& e) { e.value = 9; }).File(), 1},
        {"value 0xFFFF", With([](Exif& e) { e.value = 0xFFFF; }).File(), 1},
        {"type LONG", With([](Exif& e) { e.type = 4; }).File(), 1},
        {"count 2", With([](Exif& e) { e.count = 2; }).File(), 1},
        {"no such tag", With([](Exif& e) { e.tag = 0x0110; }).File(), 1},
        {"directory past the end", With([](Exif& e) { e.directory = 0x7FFFFFF0; }).File(), 1},
        {"directory inside the header", With([](Exif& e) { e.directory = 4; }).File(), 1},
        {"directory at the header (loop)", With([](Exif& e) { e.directory = 0; }).File(), 1},
        {"65535 entries", With([](Exif& e) { e.entries = 0xFFFF; }).File(), 1},
        {"no entries", With([](Exif& e) { e.entries = 0; }).File(), 1},
        {"byte order IM", With([](Exif& e) { e.order = 'X'; }).File(), 1},
        {"magic 43", With([](Exif& e) { e.magic = 43; }).File(), 1},
        {"signature Exix", With([](Exif& e) { e.signature = "Exix"; }).File(), 1},
        {"segment longer than the file", With([](Exif& e) { e.lengthChange = 4000; }).File(), 1},
        {"segment too short for its entry", With([](Exif& e) { e.lengthChange = -6; }).File(), 1},
        {"segment length 1", With([](Exif& e) { e.lengthChange = -33; }).File(), 1},
        {"cut in the entry", With([](Exif& e) { e.cut = 7 + 8; }).File(), 1},
        {"cut in the TIFF header", With([](Exif& e) { e.cut = 7 + 24; }).File(), 1},
        {"Exif after the scan", afterScan, 1},
        {"no bytes", {}, 1},
        {"SOI only", {0xFF, 0xD8}, 1},
        {"a PNG", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, 1},
    };
    for (const DamageCase& c : cases)
        EXPECT_EQ(PictureOrientation(MemoryReader(c.file)), c.expected) << c.what;
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
