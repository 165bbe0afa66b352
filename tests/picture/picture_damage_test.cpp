// Damaged and made-up files of the framework's kinds: each is refused as an
// invalid picture, never read past its end, and the loader goes on. And the
// bitmap variants the loader decodes itself: core headers, top-down rows,
// run-length rows and bit fields.
#include "PictureFiles.h"
#include "SamplePictures.h"
#include "framework/DibFile.h"
#include "framework/Exception.h"
#include "framework/TPicture.h"

#include <gtest/gtest.h>

#include <string>

using namespace pictest;

namespace {

template <typename T> std::vector<BYTE> With(std::vector<BYTE> bytes, size_t offset, T value) {
    if (bytes.size() < offset + sizeof(T)) bytes.resize(offset + sizeof(T));
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
    return bytes;
}

std::vector<BYTE> Cut(std::vector<BYTE> bytes, size_t size) {
    bytes.resize(std::min(size, bytes.size()));
    return bytes;
}

std::vector<RGBQUAD> Grey(int count) {
    std::vector<RGBQUAD> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0});
    return colours;
}

// The bitmap of the reported crash: 100 by 80 pixels of 24 bits.
std::vector<BYTE> TrueColourBmp() {
    return MakeBmp(100, 80, 24, {}, [](int x, int y) { return RGB(x * 2, y * 3, 77); }).Bytes();
}
std::vector<BYTE> IndexedBmp() {
    return MakeBmp(30, 20, 8, Grey(256), [](int x, int y) { return (x + y * 7) % 256u; }).Bytes();
}

// Offsets in a BMP file with an info header.
constexpr size_t kOffBits = 10, kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28, kCompression = 30,
                 kClrUsed = 46;
// In an icon file of one image: the directory entry, then the image's header at 22.
constexpr size_t kIconBytes = 14, kIconOffset = 18, kIconImage = 22;

struct Damaged {
    std::string what;
    const wchar_t* extension;
    std::vector<BYTE> bytes;
};

std::vector<Damaged> DamagedFiles() {
    std::vector<Damaged> files;
    const std::vector<BYTE> bmp = TrueColourBmp(), indexed = IndexedBmp();
    for (size_t size : {size_t{2}, size_t{13}, size_t{20}, size_t{53}, size_t{6000}, bmp.size() - 1})
        files.push_back({"bitmap cut to " + std::to_string(size), L".bmp", Cut(bmp, size)});
    for (size_t size : {size_t{54 + 100}, size_t{54 + 1024}, indexed.size() - 30})
        files.push_back({"indexed bitmap cut to " + std::to_string(size), L".bmp", Cut(indexed, size)});
    files.push_back({"huge width", L".bmp", With(bmp, kWidth, LONG{100000})});
    files.push_back({"huge height", L".bmp", With(bmp, kHeight, LONG{-100000})});
    files.push_back({"width times height past the limit", L".bmp",
                     With(With(bmp, kWidth, LONG{30000}), kHeight, LONG{30000})});
    files.push_back({"lowest height", L".bmp", With(bmp, kHeight, LONG{INT_MIN})});
    files.push_back({"negative width", L".bmp", With(bmp, kWidth, LONG{-100})});
    files.push_back({"no rows", L".bmp", With(bmp, kHeight, LONG{0})});
    files.push_back(
        {"pixels past the end", L".bmp", With(bmp, kOffBits, static_cast<DWORD>(bmp.size() + 10))});
    files.push_back({"pixels far past the end", L".bmp", With(bmp, kOffBits, DWORD{0xFFFFFFF0})});
    files.push_back({"pixels inside the header", L".bmp", With(indexed, kOffBits, DWORD{20})});
    files.push_back({"too many colours for 8 bits", L".bmp", With(indexed, kClrUsed, DWORD{300})});
    files.push_back({"colour count far too large", L".bmp", With(indexed, kClrUsed, DWORD{0x40000000})});
    files.push_back({"too many colours for 24 bits", L".bmp", With(bmp, kClrUsed, DWORD{0x10000})});
    files.push_back({"unknown depth", L".bmp", With(bmp, kBitCount, WORD{7})});
    files.push_back({"two planes", L".bmp", With(bmp, kPlanes, WORD{2})});
    files.push_back({"unknown compression", L".bmp", With(bmp, kCompression, DWORD{9})});
    files.push_back({"run-length 24 bits", L".bmp", With(bmp, kCompression, DWORD{BI_RLE8})});
    files.push_back({"header size past the end", L".bmp", With(bmp, 14, DWORD{0x7FFFFFFF})});
    files.push_back({"bit fields without masks", L".bmp",
                     Cut(With(With(bmp, kBitCount, WORD{32}), kCompression, DWORD{BI_BITFIELDS}), 60)});
    // Run-length rows that stop before their end-of-bitmap mark.
    std::vector<BYTE> rle = With(With(indexed, kCompression, DWORD{BI_RLE8}), kClrUsed, DWORD{256});
    rle.resize(54 + 1024);
    for (BYTE b : {3, 9, 0, 0, 0, 5})
        rle.push_back(b);
    files.push_back({"run-length rows without an end", L".bmp", rle});
    files.push_back({"run-length absolute run past the end", L".bmp",
                     Cut(With(rle, 54 + 1024 + 4, WORD{0xFF00}), 54 + 1024 + 8)});

    const std::vector<BYTE> icon = IconFile();
    for (size_t size : {size_t{4}, size_t{10}, size_t{22}, size_t{40}, size_t{200}, icon.size() - 1})
        files.push_back({"icon cut to " + std::to_string(size), L".ico", Cut(icon, size)});
    files.push_back(
        {"icon image past the end", L".ico", With(icon, kIconOffset, static_cast<DWORD>(icon.size()))});
    files.push_back({"icon image size past the end", L".ico", With(icon, kIconBytes, DWORD{0xFFFFFFF0})});
    files.push_back(
        {"icon image claims fewer bytes than its pixels", L".ico", With(icon, kIconBytes, DWORD{100})});
    files.push_back({"icon huge width", L".ico", With(icon, kIconImage + 4, LONG{100000})});
    files.push_back({"icon huge height", L".ico", With(icon, kIconImage + 8, LONG{0x7FFFFFFE})});
    files.push_back({"icon too many colours", L".ico", With(icon, kIconImage + 32, DWORD{0x10000})});
    files.push_back({"icon unknown depth", L".ico", With(icon, kIconImage + 14, WORD{3})});
    std::vector<BYTE> png = {0x89, 'P',  'N', 'G', '\r', '\n', 0x1A, '\n', 0,    0,    0,
                             13,   'I',  'H', 'D', 'R',  0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF,
                             0xFF, 0xFF, 8,   6,   0,    0,    0,    0,    0,    0,    0};
    std::vector<BYTE> pngIcon = Cut(icon, kIconImage);
    pngIcon.insert(pngIcon.end(), png.begin(), png.end());
    files.push_back(
        {"icon of a huge PNG", L".ico", With(pngIcon, kIconBytes, static_cast<DWORD>(png.size()))});

    const std::vector<BYTE> wmf = PlaceableMetafile();
    const std::vector<BYTE> plain = WindowsMetafileBits();
    for (size_t size :
         {size_t{10}, size_t{22}, size_t{30}, size_t{22 + 18 + 4}, wmf.size() / 2, wmf.size() - 2})
        files.push_back({"metafile cut to " + std::to_string(size), L".wmf", Cut(wmf, size)});
    files.push_back({"metafile size past the end", L".wmf", With(plain, 6, DWORD{0x10000000})});
    files.push_back({"metafile record past the end", L".wmf", With(plain, 18, DWORD{0x00FFFFFF})});
    files.push_back({"metafile record of no size", L".wmf", With(plain, 18, DWORD{0})});
    // The first object is a brush at slot 0: a deletion of slot 200 would
    // write outside the object table.
    std::vector<BYTE> deletion = Cut(plain, plain.size() - 6);
    for (BYTE b : {4, 0, 0, 0, 0xF0, 0x01, 200, 0, 3, 0, 0, 0, 0, 0})
        deletion.push_back(b);
    deletion = With(deletion, 6, static_cast<DWORD>(deletion.size() / 2));
    files.push_back({"metafile object index outside the table", L".wmf", deletion});
    std::vector<BYTE> polygon = Cut(plain, plain.size() - 6);
    for (BYTE b : {5, 0, 0, 0, 0x24, 0x03, 0xFF, 0x7F, 0, 0, 3, 0, 0, 0, 0, 0})
        polygon.push_back(b);
    polygon = With(polygon, 6, static_cast<DWORD>(polygon.size() / 2));
    files.push_back({"metafile polygon of more points than its record", L".wmf", polygon});
    files.push_back({"metafile without its end record", L".wmf",
                     With(Cut(plain, plain.size() - 6), 6, static_cast<DWORD>((plain.size() - 6) / 2))});

    const std::vector<BYTE> emf = EnhancedMetafile();
    for (size_t size : {size_t{8}, size_t{40}, size_t{88}, emf.size() / 2, emf.size() - 4})
        files.push_back({"enhanced metafile cut to " + std::to_string(size), L".emf", Cut(emf, size)});
    files.push_back(
        {"enhanced metafile size past the end", L".emf", With(emf, 48, static_cast<DWORD>(emf.size() + 8))});
    files.push_back({"enhanced metafile header past its size", L".emf",
                     With(emf, 4, static_cast<DWORD>(emf.size() + 8))});
    files.push_back({"enhanced metafile without handles", L".emf", With(emf, 56, WORD{0})});
    DWORD headerSize = 0;
    std::memcpy(&headerSize, emf.data() + 4, 4);
    files.push_back(
        {"enhanced metafile record past the end", L".emf", With(emf, headerSize + 4, DWORD{0x1000})});
    files.push_back({"enhanced metafile record of no size", L".emf", With(emf, headerSize + 4, DWORD{0})});
    std::vector<BYTE> selection = Cut(emf, emf.size() - 20);
    for (DWORD d : {DWORD{EMR_DELETEOBJECT}, DWORD{12}, DWORD{5000}})
        selection = With(selection, selection.size(), d);
    selection = With(selection, selection.size(), DWORD{EMR_EOF});
    for (DWORD d : {DWORD{20}, DWORD{0}, DWORD{0x10}, DWORD{20}})
        selection = With(selection, selection.size(), d);
    selection = With(selection, 48, static_cast<DWORD>(selection.size()));
    files.push_back({"enhanced metafile object index outside the table", L".emf", selection});
    return files;
}

class DamagedPicture : public PictureFileTest {
  protected:
    DamagedPicture() : PictureFileTest(L"picture_damage_test") {}
};

} // namespace

TEST_F(DamagedPicture, EveryDamagedFileIsAnInvalidPictureAndTheLoaderGoesOn) {
    const std::wstring good = Write(L"good.bmp", IndexedBmp());
    int n = 0;
    for (const Damaged& file : DamagedFiles()) {
        const std::wstring path = Write(L"damaged" + std::to_wstring(n++) + file.extension, file.bytes);
        EXPECT_THROW(picture.LoadFromFile(path), EInvalidGraphic) << file.what;
        EXPECT_TRUE(picture.Empty()) << file.what;
        picture.LoadFromFile(good);
        EXPECT_EQ(picture.Width(), 30) << "after " << file.what;
        picture.Clear();
    }
}

TEST_F(DamagedPicture, TheUndamagedOriginalsLoad) {
    picture.LoadFromFile(Write(L"true.bmp", TrueColourBmp()));
    EXPECT_EQ(picture.Width(), 100);
    picture.LoadFromFile(Write(L"icon.ico", IconFile()));
    EXPECT_EQ(picture.Kind(), TPictureKind::Icon);
    picture.LoadFromFile(Write(L"placeable.wmf", PlaceableMetafile()));
    EXPECT_EQ(picture.Kind(), TPictureKind::Metafile);
    picture.LoadFromFile(Write(L"enhanced.emf", EnhancedMetafile()));
    EXPECT_EQ(picture.Kind(), TPictureKind::Metafile);
}

TEST_F(DamagedPicture, AFileLongerThanTheLimitIsNotRead) {
    const std::wstring path = folder / L"huge.bmp";
    {
        UniqueKernelHandle file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(kMaxPictureFileBytes) + 1;
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    EXPECT_THROW(picture.LoadFromFile(path), EInvalidGraphic);
}

// The variants of the format the loader decodes itself, each against the
// pixels it was made with.
TEST_F(DamagedPicture, BitmapVariantsDecodeToTheirPixels) {
    const BmpFile base = MakeBmp(6, 4, 8, Grey(256), [](int x, int y) { return x * 40u + y; });
    std::vector<BYTE> topDown =
        MakeBmp(6, 4, 24, {}, [](int x, int y) { return RGB(x * 40, y * 60, 5); }).Bytes();
    // Rows stored top first: the same rows read in the other order.
    {
        BmpFile bottomUp = MakeBmp(6, 4, 24, {}, [](int x, int y) { return RGB(x * 40, (3 - y) * 60, 5); });
        bottomUp.Info.biHeight = -4;
        topDown = bottomUp.Bytes();
    }
    // The core header: 12 bytes and colour entries of three bytes.
    std::vector<BYTE> core;
    {
        BITMAPFILEHEADER file{0x4D42, 0, 0, 0, static_cast<DWORD>(14 + 12 + 256 * 3)};
        BITMAPCOREHEADER header{12, 6, 4, 1, 8};
        Append(core, file);
        Append(core, header);
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c)
                core.push_back(static_cast<BYTE>(i));
        core.insert(core.end(), base.Pixels.begin(), base.Pixels.end());
    }
    // The same rows as runs: a run, an absolute run, a delta and line ends.
    std::vector<BYTE> rle;
    {
        BmpFile runs = base;
        runs.Info.biCompression = BI_RLE8;
        runs.Pixels.clear();
        for (int row = 0; row < 4; ++row) {
            const int y = 3 - row;
            for (BYTE b : {BYTE{0}, BYTE{6}})
                runs.Pixels.push_back(b);
            for (int x = 0; x < 6; ++x)
                runs.Pixels.push_back(static_cast<BYTE>(x * 40 + y));
            for (BYTE b : {BYTE{0}, BYTE{0}})
                runs.Pixels.push_back(b);
        }
        for (BYTE b : {BYTE{0}, BYTE{1}})
            runs.Pixels.push_back(b);
        runs.Info.biSizeImage = static_cast<DWORD>(runs.Pixels.size());
        rle = runs.Bytes();
    }
    for (auto [name, bytes] : {std::pair{L"core.bmp", core}, std::pair{L"rle.bmp", rle}}) {
        picture.LoadFromFile(Write(name, bytes));
        ASSERT_EQ(picture.Width(), 6) << name;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(PixelOf(picture.Bitmap(), x, y), base.Color(x, y)) << name << " " << x << "," << y;
    }
    picture.LoadFromFile(Write(L"topdown.bmp", topDown));
    ASSERT_EQ(picture.Height(), 4);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(PixelOf(picture.Bitmap(), 2, y), RGB(80, y * 60, 5)) << y;

    // 16 bits with 5-6-5 masks after the header.
    std::vector<BYTE> fields;
    {
        BITMAPINFOHEADER info{sizeof(info), 2, 1, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0};
        BITMAPFILEHEADER file{0x4D42, 0, 0, 0, static_cast<DWORD>(14 + 40 + 12)};
        Append(fields, file);
        Append(fields, info);
        for (DWORD mask : {DWORD{0xF800}, DWORD{0x07E0}, DWORD{0x001F}})
            Append(fields, mask);
        for (WORD pixel : {WORD{0xF800}, WORD{0x001F}})
            Append(fields, pixel);
    }
    picture.LoadFromFile(Write(L"fields.bmp", fields));
    EXPECT_EQ(PixelOf(picture.Bitmap(), 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(picture.Bitmap(), 1, 0), RGB(0, 0, 255));
}
