#include "base/ExifOrientation.h"

#include "base/UniqueHandle.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {
constexpr int kAsStored = 1;
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr size_t kEntryBytes = 12;

class TiffOrder {
  public:
    explicit TiffOrder(bool bigEndian) : big_(bigEndian) {}
    uint32_t Value(const uint8_t* p, unsigned bytes) const {
        uint32_t value = 0;
        for (unsigned i = 0; i < bytes; ++i)
            value = value << 8 | p[big_ ? i : bytes - 1 - i];
        return value;
    }

  private:
    bool big_;
};

// The tag in the first directory of the TIFF structure that starts at
// `base`. Only that directory is read, so no chain of directories can loop.
int OrientationInTiff(const ByteReader& read, uint64_t base) {
    uint8_t header[8];
    if (!read(base, header, sizeof(header))) return kAsStored;
    const bool big = header[0] == 'M' && header[1] == 'M';
    if (!big && !(header[0] == 'I' && header[1] == 'I')) return kAsStored;
    const TiffOrder order(big);
    if (order.Value(header + 2, 2) != 42) return kAsStored;
    const uint32_t directory = order.Value(header + 4, 4);
    if (directory < sizeof(header)) return kAsStored;
    uint8_t countBytes[2];
    if (!read(base + directory, countBytes, sizeof(countBytes))) return kAsStored;
    const uint32_t count = order.Value(countBytes, 2);
    std::vector<uint8_t> entries(count * kEntryBytes);
    if (count == 0 || !read(base + directory + 2, entries.data(), entries.size())) return kAsStored;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = entries.data() + i * kEntryBytes;
        if (order.Value(entry, 2) != kOrientationTag) continue;
        // One SHORT, held in the first two bytes of the value field.
        if (order.Value(entry + 2, 2) != kTypeShort || order.Value(entry + 4, 4) != 1) return kAsStored;
        const uint32_t value = order.Value(entry + 8, 2);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : kAsStored;
    }
    return kAsStored;
}

// Reads ahead in windows, so walking a file's segments costs few reads.
class BufferedFile {
  public:
    explicit BufferedFile(HANDLE file) : file_(file) {}
    bool Read(uint64_t offset, void* out, size_t size) {
        if (size > kWindow) return ReadAt(offset, out, size);
        if (offset < start_ || offset + size > start_ + window_.size()) {
            window_.resize(kWindow);
            DWORD got = 0;
            if (!Seek(offset) || !ReadFile(file_, window_.data(), kWindow, &got, nullptr)) return false;
            window_.resize(got);
            start_ = offset;
            if (size > got) return false;
        }
        std::memcpy(out, window_.data() + (offset - start_), size);
        return true;
    }

  private:
    static constexpr DWORD kWindow = 64 * 1024;
    bool Seek(uint64_t offset) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        return offset <= INT64_MAX && SetFilePointerEx(file_, at, nullptr, FILE_BEGIN);
    }
    bool ReadAt(uint64_t offset, void* out, size_t size) {
        DWORD got = 0;
        return size <= MAXDWORD && Seek(offset) &&
               ReadFile(file_, out, static_cast<DWORD>(size), &got, nullptr) && got == size;
    }

    HANDLE file_;
    std::vector<uint8_t> window_;
    uint64_t start_ = 0;
};
} // namespace

ByteReader MemoryReader(std::span<const uint8_t> bytes) {
    return [bytes](uint64_t offset, void* out, size_t size) {
        if (offset > bytes.size() || size > bytes.size() - offset) return false;
        std::memcpy(out, bytes.data() + offset, size);
        return true;
    };
}

int JpegOrientation(const ByteReader& read) {
    uint8_t mark[4];
    if (!read(0, mark, 2) || mark[0] != 0xFF || mark[1] != 0xD8) return kAsStored;
    // Segments up to the first scan; the Exif block comes before it.
    uint64_t at = 2;
    while (read(at, mark, 2) && mark[0] == 0xFF) {
        const uint8_t marker = mark[1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length
            at += 2;
            continue;
        }
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || !read(at + 2, mark + 2, 2)) break;
        const uint32_t length = uint32_t{mark[2]} << 8 | mark[3];
        if (length < 2) break;
        char signature[6];
        if (marker == 0xE1 && length >= 2 + sizeof(signature) && read(at + 4, signature, sizeof(signature)) &&
            std::memcmp(signature, "Exif\0", 5) == 0) {
            // The TIFF structure's offsets count from its header and stay
            // inside the segment.
            std::vector<uint8_t> block(length - 2 - sizeof(signature));
            if (!read(at + 4 + sizeof(signature), block.data(), block.size())) return kAsStored;
            return OrientationInTiff(MemoryReader(block), 0);
        }
        at += 2 + length;
    }
    return kAsStored;
}

int TiffOrientation(const ByteReader& read) {
    return OrientationInTiff(read, 0);
}

int PictureOrientation(const ByteReader& read) {
    uint8_t head[2];
    if (!read(0, head, sizeof(head))) return kAsStored;
    if (head[0] == 0xFF && head[1] == 0xD8) return JpegOrientation(read);
    if ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'))
        return TiffOrientation(read);
    return kAsStored;
}

int FileOrientation(const wchar_t* path) {
    const UniqueFile file(CreateFileW(path, GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return kAsStored;
    BufferedFile buffered(file.get());
    return PictureOrientation(
        [&](uint64_t offset, void* out, size_t size) { return buffered.Read(offset, out, size); });
}
