#include "plugins/common/TiffKind.h"

namespace spi {
namespace {
enum Tag : uint32_t {
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kSamplesPerPixel = 277,
    kPlanarConfiguration = 284,
};
enum Photometric : uint32_t { kWhiteIsZero = 0, kBlackIsZero = 1, kPalette = 3 };
constexpr uint32_t kShort = 3;
constexpr size_t kEntrySize = 12;

class Reader {
  public:
    Reader(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}
    bool Has(size_t at, size_t count) const { return at <= bytes_.size() && bytes_.size() - at >= count; }
    // Callers check Has first.
    uint32_t Read(size_t at, unsigned count) const {
        uint32_t value = 0;
        for (unsigned i = 0; i < count; ++i)
            value |= static_cast<uint32_t>(bytes_[at + i]) << 8 * (bigEndian_ ? count - 1 - i : i);
        return value;
    }

  private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

// The first value of an entry: a short or a long, held in the entry when it
// fits, else where the entry points.
std::optional<uint32_t> FirstValue(const Reader& in, size_t entry) {
    const uint32_t type = in.Read(entry + 2, 2), count = in.Read(entry + 4, 4);
    const unsigned size = type == kShort ? 2 : 4;
    if (count == 0) return std::nullopt;
    size_t at = entry + 8;
    if (static_cast<uint64_t>(count) * size > 4) at = in.Read(entry + 8, 4);
    if (!in.Has(at, size)) return std::nullopt;
    return in.Read(at, size);
}
} // namespace

std::optional<TiffKind> ReadTiffKind(std::span<const uint8_t> bytes) {
    if (bytes.size() < 8 || (bytes[0] != 'I' && bytes[0] != 'M')) return std::nullopt;
    TiffKind kind;
    kind.bigEndian = bytes[0] == 'M';
    const Reader in(bytes, kind.bigEndian);
    const size_t directory = in.Read(4, 4);
    if (!in.Has(directory, 2)) return std::nullopt;
    const uint32_t entries = in.Read(directory, 2);
    if (!in.Has(directory + 2, entries * kEntrySize)) return std::nullopt;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + i * kEntrySize;
        const std::optional<uint32_t> value = FirstValue(in, entry);
        if (!value) continue;
        switch (in.Read(entry, 2)) {
        case kBitsPerSample:
            kind.bitsPerSample = *value;
            break;
        case kCompression:
            kind.compression = *value;
            break;
        case kPhotometric:
            kind.photometric = *value;
            if (in.Read(entry + 2, 2) == kShort) kind.photometricAt = entry + 8;
            break;
        case kSamplesPerPixel:
            kind.samplesPerPixel = *value;
            break;
        case kPlanarConfiguration:
            kind.planarConfiguration = *value;
            break;
        default:
            break;
        }
    }
    return kind;
}

bool IsUncommonTiffKind(const TiffKind& kind) {
    switch (kind.compression) {
    case 1:     // none
    case 2:     // CCITT run lengths
    case 3:     // CCITT group 3
    case 4:     // CCITT group 4
    case 5:     // LZW
    case 8:     // Deflate
    case 32773: // PackBits
    case 32946: // Deflate, the old tag
        break;
    default:
        return true;
    }
    if (kind.photometric && *kind.photometric > kPalette) return true;
    return kind.samplesPerPixel > 1 && kind.planarConfiguration == 2;
}

bool IsUncommonTiff(std::span<const uint8_t> bytes) {
    const std::optional<TiffKind> kind = ReadTiffKind(bytes);
    return kind && IsUncommonTiffKind(*kind);
}

Prepared PrepareTiff(std::span<const uint8_t> bytes) {
    Prepared prepared;
    const std::optional<TiffKind> kind = ReadTiffKind(bytes);
    if (!kind) return prepared;
    prepared.corrections.bigEndianFile = kind->bigEndian;
    if (kind->photometric == kWhiteIsZero && kind->samplesPerPixel == 2 && kind->photometricAt != 0) {
        prepared.bytes.assign(bytes.begin(), bytes.end());
        // The value is a short at the start of its field in either byte order.
        prepared.bytes[kind->photometricAt + (kind->bigEndian ? 1 : 0)] = kBlackIsZero;
        prepared.bytes[kind->photometricAt + (kind->bigEndian ? 0 : 1)] = 0;
        prepared.corrections.invertedColours = true;
    }
    return prepared;
}

} // namespace spi
