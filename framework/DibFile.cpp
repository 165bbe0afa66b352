#include "framework/DibFile.h"

#include "base/BmpWriter.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr WORD kBitmapType = 0x4D42; // "BM"
constexpr DWORD kCoreHeaderSize = 12;
constexpr size_t kFileHeaderSize = 14;
constexpr int kMaxIconSide = 256;

template <typename T> bool ReadAt(std::span<const BYTE> data, size_t offset, T& out) {
    if (offset > data.size() || data.size() - offset < sizeof(T)) return false;
    std::memcpy(&out, data.data() + offset, sizeof(T));
    return true;
}

bool ValidDepth(unsigned bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Colours in the table: what the header says, and never more than the depth
// can index.
bool ColourCount(unsigned bits, DWORD used, DWORD& count) {
    if (bits > 8) {
        count = used <= 256 ? used : 0;
        return used <= 256;
    }
    if (used > (1u << bits)) return false;
    count = used ? used : 1u << bits;
    return true;
}

// What the file's header says, brought into one shape.
struct BmpLayout {
    LONG width = 0, height = 0;
    unsigned bits = 0;
    DWORD compression = BI_RGB;
    DWORD colours = 0;
    bool core = false;
    size_t tableOffset = 0;
    DWORD masks[3] = {};
    bool hasMasks = false;
};

bool ReadLayout(std::span<const BYTE> file, BmpLayout& out) {
    WORD type = 0;
    DWORD headerSize = 0;
    if (!ReadAt(file, 0, type) || type != kBitmapType || !ReadAt(file, kFileHeaderSize, headerSize))
        return false;
    if (headerSize == kCoreHeaderSize) {
        BITMAPCOREHEADER core{};
        if (!ReadAt(file, kFileHeaderSize, core) || core.bcPlanes != 1 || !ValidDepth(core.bcBitCount) ||
            core.bcBitCount > 24)
            return false;
        out.width = core.bcWidth;
        out.height = core.bcHeight;
        out.bits = core.bcBitCount;
        out.core = true;
        out.tableOffset = kFileHeaderSize + headerSize;
        return ColourCount(out.bits, 0, out.colours);
    }
    // The info header and its later versions share the first 40 bytes.
    if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
        return false;
    BITMAPINFOHEADER info{};
    if (!ReadAt(file, kFileHeaderSize, info) || file.size() - kFileHeaderSize < headerSize ||
        info.biPlanes != 1 || !ValidDepth(info.biBitCount))
        return false;
    out.width = info.biWidth;
    out.height = info.biHeight;
    out.bits = info.biBitCount;
    out.compression = info.biCompression;
    out.tableOffset = kFileHeaderSize + headerSize;
    switch (info.biCompression) {
    case BI_RGB:
        break;
    case BI_RLE8:
    case BI_RLE4:
        // Run-length rows are always stored bottom-up.
        if (info.biBitCount != (info.biCompression == BI_RLE8 ? 8 : 4) || info.biHeight < 0) return false;
        break;
    case BI_BITFIELDS:
        if (info.biBitCount != 16 && info.biBitCount != 32) return false;
        // The masks follow a plain info header; later headers hold them.
        if (!ReadAt(file, kFileHeaderSize + sizeof(info), out.masks)) return false;
        if (headerSize == sizeof(info)) out.tableOffset += sizeof(out.masks);
        out.hasMasks = true;
        break;
    default:
        return false;
    }
    return ColourCount(out.bits, info.biClrUsed, out.colours);
}

class RleWriter {
  public:
    RleWriter(BYTE* bits, LONG width, LONG height, unsigned depth)
        : bits_(bits), width_(width), height_(height), depth_(depth),
          stride_(static_cast<size_t>(DibStride(static_cast<uint64_t>(width), depth))) {}
    // Pixels beyond the right edge are dropped, as the system's decoder does.
    void Put(unsigned value) {
        if (x_ < width_ && y_ < height_) {
            BYTE* row = bits_ + stride_ * static_cast<size_t>(y_);
            if (depth_ == 8) {
                row[x_] = static_cast<BYTE>(value);
            } else {
                BYTE& pair = row[x_ / 2];
                pair = x_ % 2 ? static_cast<BYTE>((pair & 0xF0) | (value & 0x0F))
                              : static_cast<BYTE>((pair & 0x0F) | (value & 0x0F) << 4);
            }
        }
        ++x_;
    }
    void NextLine() {
        x_ = 0;
        ++y_;
    }
    void Move(unsigned dx, unsigned dy) {
        x_ += static_cast<LONG>(dx);
        y_ += static_cast<LONG>(dy);
    }
    bool Done() const { return y_ >= height_; }

  private:
    BYTE* bits_;
    LONG width_, height_;
    unsigned depth_;
    size_t stride_;
    LONG x_ = 0, y_ = 0;
};

// Run-length encoded rows (RLE8, RLE4) into plain bottom-up rows. False when
// the data ends before its end-of-bitmap mark.
bool DecodeRle(std::span<const BYTE> data, RleWriter& out, unsigned depth) {
    size_t at = 0;
    auto pixel = [depth](BYTE value, unsigned i) {
        return depth == 8 ? value : (i % 2 ? value & 0x0F : value >> 4);
    };
    while (at + 2 <= data.size()) {
        const BYTE count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                out.Put(pixel(value, i));
            continue;
        }
        switch (value) {
        case 0:
            out.NextLine();
            break;
        case 1:
            return true;
        case 2:
            if (at + 2 > data.size()) return false;
            out.Move(data[at], data[at + 1]);
            at += 2;
            break;
        default: {
            // An absolute run, padded to a whole 16-bit word.
            const size_t bytes = depth == 8 ? value : (value + 1u) / 2;
            if (data.size() - at < bytes) return false;
            for (unsigned i = 0; i < value; ++i)
                out.Put(pixel(data[at + (depth == 8 ? i : i / 2)], i));
            at += bytes + (bytes % 2);
        }
        }
        if (out.Done()) return true;
    }
    return false;
}

} // namespace

UniqueBitmap DecodeBmpFile(std::span<const BYTE> file) {
    BmpLayout layout;
    if (!ReadLayout(file, layout)) return {};
    const long long absHeight = layout.height < 0 ? -static_cast<long long>(layout.height) : layout.height;
    if (layout.width <= 0 || layout.width > kMaxPictureSide || absHeight == 0 || absHeight > kMaxPictureSide)
        return {};
    const uint64_t stride = DibStride(static_cast<uint64_t>(layout.width), layout.bits);
    const uint64_t imageBytes = stride * static_cast<uint64_t>(absHeight);
    if (imageBytes > kMaxPictureBytes) return {};

    const size_t entrySize = layout.core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
    const size_t tableEnd = layout.tableOffset + layout.colours * entrySize;
    DWORD pixelOffset = 0;
    if (tableEnd > file.size() || !ReadAt(file, 10, pixelOffset) || pixelOffset < tableEnd ||
        pixelOffset > file.size())
        return {};
    const std::span<const BYTE> pixels = file.subspan(pixelOffset);
    const bool rle = layout.compression == BI_RLE8 || layout.compression == BI_RLE4;
    if (!rle && pixels.size() < imageBytes) return {};

    // The section is described in the plain info header whatever the file used.
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + sizeof(layout.masks) +
                           layout.colours * sizeof(RGBQUAD));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    *header = DibHeader(layout.width, layout.height, static_cast<int>(layout.bits));
    if (layout.hasMasks) header->biCompression = BI_BITFIELDS;
    header->biClrUsed = layout.bits <= 8 ? layout.colours : 0;
    BYTE* table = info.data() + sizeof(BITMAPINFOHEADER);
    if (layout.hasMasks) std::memcpy(table, layout.masks, sizeof(layout.masks));
    for (DWORD i = 0; layout.bits <= 8 && i < layout.colours; ++i) {
        const BYTE* entry = file.data() + layout.tableOffset + i * entrySize;
        const RGBQUAD colour{entry[0], entry[1], entry[2], 0};
        std::memcpy(table + i * sizeof(RGBQUAD), &colour, sizeof(colour));
    }

    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                         &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    if (!rle) {
        std::memcpy(bits, pixels.data(), static_cast<size_t>(imageBytes));
        return bitmap;
    }
    std::memset(bits, 0, static_cast<size_t>(imageBytes));
    RleWriter writer(static_cast<BYTE*>(bits), layout.width, layout.height, layout.bits);
    if (!DecodeRle(pixels, writer, layout.bits)) return {};
    return bitmap;
}

std::optional<IconImageShape> ValidIconImage(std::span<const BYTE> image) {
    static constexpr BYTE kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.size() >= sizeof(kPng) && std::memcmp(image.data(), kPng, sizeof(kPng)) == 0) {
        // The first chunk is the image header: big-endian width and height.
        auto word = [&](size_t at) {
            return static_cast<uint32_t>(image[at]) << 24 | image[at + 1] << 16 | image[at + 2] << 8 |
                   image[at + 3];
        };
        if (image.size() < 33 || std::memcmp(image.data() + 12, "IHDR", 4) != 0) return std::nullopt;
        const uint32_t w = word(16), h = word(20);
        if (w == 0 || h == 0 || w > kMaxIconSide || h > kMaxIconSide) return std::nullopt;
        return IconImageShape{static_cast<int>(w), static_cast<int>(h), 32};
    }
    BITMAPINFOHEADER header{};
    if (!ReadAt(image, 0, header) || header.biSize != sizeof(header) || header.biWidth <= 0 ||
        header.biWidth > kMaxIconSide || header.biHeight <= 0 || header.biHeight > 2 * kMaxIconSide ||
        header.biHeight % 2 != 0 || header.biPlanes > 1 || !ValidDepth(header.biBitCount) ||
        header.biCompression != BI_RGB)
        return std::nullopt;
    DWORD colours = 0;
    if (!ColourCount(header.biBitCount, header.biClrUsed, colours)) return std::nullopt;
    // The colour image and the mask below it, each half of the stored height.
    const uint64_t rows = static_cast<uint64_t>(header.biHeight / 2);
    const uint64_t need = sizeof(header) + colours * sizeof(RGBQUAD) +
                          DibStride(static_cast<uint64_t>(header.biWidth), header.biBitCount) * rows +
                          DibStride(static_cast<uint64_t>(header.biWidth), 1) * rows;
    if (need > image.size()) return std::nullopt;
    return IconImageShape{header.biWidth, header.biHeight / 2, header.biBitCount};
}

bool ValidPackedDib(std::span<const BYTE> info, size_t bitsSize, size_t* infoSize) {
    DWORD headerSize = 0;
    if (!ReadAt(info, 0, headerSize)) return false;
    LONG width = 0, height = 0;
    unsigned bits = 0;
    DWORD compression = BI_RGB, used = 0, imageSize = 0;
    size_t entry = sizeof(RGBQUAD);
    if (headerSize == kCoreHeaderSize) {
        BITMAPCOREHEADER core{};
        if (!ReadAt(info, 0, core)) return false;
        width = core.bcWidth;
        height = core.bcHeight;
        bits = core.bcBitCount;
        entry = sizeof(RGBTRIPLE);
    } else {
        BITMAPINFOHEADER header{};
        if (headerSize < sizeof(header) || headerSize > info.size() || !ReadAt(info, 0, header)) return false;
        width = header.biWidth;
        height = header.biHeight;
        bits = header.biBitCount;
        compression = header.biCompression;
        used = header.biClrUsed;
        imageSize = header.biSizeImage;
    }
    DWORD colours = 0;
    const long long absHeight = height < 0 ? -static_cast<long long>(height) : height;
    if (!ValidDepth(bits) || !ColourCount(bits, used, colours) || width <= 0 || width > kMaxPictureSide ||
        absHeight == 0 || absHeight > kMaxPictureSide)
        return false;
    const size_t masks = compression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
    const uint64_t tableEnd = headerSize + masks + static_cast<uint64_t>(colours) * entry;
    if (tableEnd > info.size()) return false;
    if (infoSize) *infoSize = static_cast<size_t>(tableEnd);
    uint64_t need = DibStride(static_cast<uint64_t>(width), bits) * static_cast<uint64_t>(absHeight);
    if (need > kMaxPictureBytes) return false;
    if (compression == BI_RLE8 || compression == BI_RLE4)
        need = imageSize;
    else if (compression != BI_RGB && compression != BI_BITFIELDS)
        return false;
    return need <= bitsSize;
}
