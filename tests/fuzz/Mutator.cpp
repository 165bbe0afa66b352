#include "Mutator.h"

#include <algorithm>
#include <utility>

namespace fuzz {
namespace {

uint32_t Read(const Bytes& b, Field f) {
    uint32_t value = 0;
    for (unsigned i = 0; i < f.bytes && f.at + i < b.size(); ++i) {
        const unsigned shift = f.bigEndian ? 8 * (f.bytes - 1 - i) : 8 * i;
        value |= static_cast<uint32_t>(b[f.at + i]) << shift;
    }
    return value;
}

void Write(Bytes& b, Field f, uint32_t value) {
    for (unsigned i = 0; i < f.bytes && f.at + i < b.size(); ++i) {
        const unsigned shift = f.bigEndian ? 8 * (f.bytes - 1 - i) : 8 * i;
        b[f.at + i] = static_cast<uint8_t>(value >> shift);
    }
}

void Le(std::vector<Field>& to, size_t at, unsigned bytes) {
    to.push_back({at, bytes, false});
}
void Be(std::vector<Field>& to, size_t at, unsigned bytes) {
    to.push_back({at, bytes, true});
}

void WmfFields(const Bytes& b, size_t start, Fields& f) {
    Le(f.sizes, start + 6, 4);  // mtSize
    Le(f.sizes, start + 10, 2); // mtNoObjects
    Le(f.sizes, start + 12, 4); // mtMaxRecord
    size_t at = start + 18;
    while (at + 6 <= b.size()) {
        const uint32_t words = Read(b, {at, 4, false});
        Le(f.sizes, at, 4);
        Le(f.offsets, at + 6, 2); // first parameter: an index or a count
        if (words < 3 || Read(b, {at + 4, 2, false}) == 0) break;
        at += words * 2;
    }
}

void EmfFields(const Bytes& b, Fields& f) {
    for (size_t at = 8; at < 40; at += 4)
        Le(f.dimensions, at, 4); // bounds and frame
    Le(f.sizes, 4, 4);
    Le(f.sizes, 48, 4);
    Le(f.sizes, 56, 2);
    Le(f.offsets, 64, 4);
    size_t at = Read(b, {4, 4, false});
    while (at + 8 <= b.size()) {
        const uint32_t size = Read(b, {at + 4, 4, false});
        Le(f.sizes, at + 4, 4);
        if (size > 8) Le(f.offsets, at + 8, 4); // an object index or a count
        if (size > 24) Le(f.offsets, at + 24, 4);
        if (size < 8) break;
        at += size;
    }
}

void JpegFields(const Bytes& b, Fields& f) {
    size_t at = 2;
    while (at + 4 <= b.size() && b[at] == 0xFF) {
        const uint8_t marker = b[at + 1];
        const uint32_t length = Read(b, {at + 2, 2, true});
        Be(f.sizes, at + 2, 2);
        if (marker >= 0xC0 && marker <= 0xC2) {
            Be(f.dimensions, at + 5, 2);
            Be(f.dimensions, at + 7, 2);
        }
        if (marker == 0xDA) break;
        at += 2 + length;
    }
}

void GifFields(const Bytes& b, Fields& f) {
    Le(f.dimensions, 6, 2);
    Le(f.dimensions, 8, 2);
    size_t at = 13;
    if (b.size() > 10 && (b[10] & 0x80)) at += 3u << ((b[10] & 7) + 1);
    while (at < b.size()) {
        if (b[at] == 0x2C && at + 10 <= b.size()) {
            Le(f.offsets, at + 1, 2);
            Le(f.offsets, at + 3, 2);
            Le(f.dimensions, at + 5, 2);
            Le(f.dimensions, at + 7, 2);
            at += 10;
            if (b[at - 1] & 0x80) at += 3u << ((b[at - 1] & 7) + 1);
            Le(f.sizes, at, 1); // code size
            ++at;
        } else if (b[at] == 0x21) {
            at += 2;
        } else {
            break;
        }
        while (at < b.size() && b[at] != 0) {
            Le(f.sizes, at, 1);
            at += 1 + b[at];
        }
        ++at;
    }
}

void TiffFields(const Bytes& b, Fields& f) {
    Le(f.offsets, 4, 4);
    const uint32_t ifd = Read(b, {4, 4, false});
    if (ifd + 2 > b.size()) return;
    const uint32_t count = Read(b, {ifd, 2, false});
    for (uint32_t i = 0; i < count && ifd + 2 + 12 * (i + 1) <= b.size(); ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        const uint32_t tag = Read(b, {entry, 2, false});
        Le(f.sizes, entry + 4, 4);
        if (tag == 256 || tag == 257)
            Le(f.dimensions, entry + 8, 4);
        else
            Le(f.offsets, entry + 8, 4); // strip offsets, byte counts, ...
    }
}

void PngFields(const Bytes& b, Fields& f) {
    Be(f.dimensions, 16, 4);
    Be(f.dimensions, 20, 4);
    size_t at = 8;
    while (at + 12 <= b.size()) {
        Be(f.sizes, at, 4);
        Be(f.offsets, at, 4);
        at += 12 + Read(b, {at, 4, true});
    }
}

uint32_t Pick(std::mt19937& random, uint32_t below) {
    return below == 0 ? 0 : std::uniform_int_distribution<uint32_t>(0, below - 1)(random);
}

} // namespace

Fields FindFields(Format format, const Bytes& b) {
    Fields f;
    switch (format) {
    case Format::Bmp:
        Le(f.dimensions, 18, 4);
        Le(f.dimensions, 22, 4);
        Le(f.offsets, 10, 4);
        Le(f.sizes, 2, 4);
        Le(f.sizes, 14, 4);
        Le(f.sizes, 28, 2);
        Le(f.sizes, 34, 4);
        Le(f.sizes, 46, 4);
        break;
    case Format::Ico:
        Le(f.dimensions, 6, 1);
        Le(f.dimensions, 7, 1);
        Le(f.dimensions, 26, 4);
        Le(f.dimensions, 30, 4);
        Le(f.offsets, 18, 4);
        Le(f.sizes, 4, 2);
        Le(f.sizes, 14, 4);
        Le(f.sizes, 22, 4);
        Le(f.sizes, 36, 2);
        Le(f.sizes, 54, 4);
        break;
    case Format::Wmf:
        Le(f.dimensions, 10, 2);
        Le(f.dimensions, 12, 2);
        Le(f.dimensions, 14, 2);
        WmfFields(b, 22, f);
        break;
    case Format::Emf:
        EmfFields(b, f);
        break;
    case Format::Jpeg:
        JpegFields(b, f);
        break;
    case Format::Gif:
        GifFields(b, f);
        break;
    case Format::Tiff:
        TiffFields(b, f);
        break;
    case Format::Png:
        PngFields(b, f);
        break;
    }
    return f;
}

Mutator::Mutator(Format format, Bytes original)
    : format_(format), original_(std::move(original)), fields_(FindFields(format, original_)) {}

Bytes Mutator::Mutate(std::mt19937& random, std::string& applied) const {
    Bytes b = original_;
    applied.clear();
    const uint32_t count = 1 + Pick(random, 3);
    for (uint32_t n = 0; n < count && !b.empty(); ++n) {
        if (!applied.empty()) applied += ", ";
        const uint32_t size = static_cast<uint32_t>(b.size());
        uint32_t kind = Pick(random, 5);
        // A format without fields of the kind picked gets bit flips instead.
        if ((kind == 2 && fields_.dimensions.empty()) || (kind == 3 && fields_.offsets.empty()) ||
            (kind == 4 && fields_.sizes.empty()))
            kind = 0;
        switch (kind) {
        case 0: { // bit flips, most of them in the headers
            const uint32_t flips = 1 + Pick(random, 8);
            for (uint32_t i = 0; i < flips; ++i) {
                const uint32_t at =
                    Pick(random, 2) ? Pick(random, std::min<uint32_t>(size, 256)) : Pick(random, size);
                b[at] ^= static_cast<uint8_t>(1u << Pick(random, 8));
            }
            applied += std::to_string(flips) + " bit flips";
            break;
        }
        case 1: { // truncation
            const uint32_t to = Pick(random, size);
            b.resize(to);
            applied += "cut to " + std::to_string(to);
            break;
        }
        case 2: { // a huge width or height
            const Field f =
                fields_.dimensions[Pick(random, static_cast<uint32_t>(fields_.dimensions.size()))];
            static constexpr uint32_t kHuge[] = {0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFF,
                                                 0x8000,     40000,      100000,     0};
            const uint32_t value = kHuge[Pick(random, std::size(kHuge))];
            Write(b, f, value);
            applied += "dimension at " + std::to_string(f.at) + " = " + std::to_string(value);
            break;
        }
        case 3: { // a wrong offset: past the end, far away or somewhere inside
            const Field f = fields_.offsets[Pick(random, static_cast<uint32_t>(fields_.offsets.size()))];
            const uint32_t values[] = {size + Pick(random, 64), 0xFFFFFFF0, Pick(random, size), size - 1,
                                       Read(b, f) + 1 + Pick(random, 16)};
            const uint32_t value = values[Pick(random, std::size(values))];
            Write(b, f, value);
            applied += "offset at " + std::to_string(f.at) + " = " + std::to_string(value);
            break;
        }
        default: { // a size of zero
            const Field f = fields_.sizes[Pick(random, static_cast<uint32_t>(fields_.sizes.size()))];
            Write(b, f, 0);
            applied += "zero size at " + std::to_string(f.at);
        }
        }
    }
    return b;
}

std::mt19937 CaseRandom(uint32_t seed, Format format, uint32_t index) {
    std::seed_seq sequence{seed, static_cast<uint32_t>(format), index};
    return std::mt19937(sequence);
}

} // namespace fuzz
