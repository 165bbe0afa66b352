#pragma once
// TIFF files written byte by byte, for the kinds no encoder at hand makes:
// one image, its directory, and its samples in one strip per plane, in
// either byte order.
#include "TestImages.h"

#include <cstdint>
#include <vector>

struct TiffSpec {
    bool bigEndian = false;
    uint16_t width = 1;
    uint16_t bitsPerSample = 8; // 8 or 16
    uint16_t samplesPerPixel = 1;
    uint16_t photometric = 1;
    uint16_t compression = 1;
    uint16_t planarConfiguration = 1;
    int extraSample = -1; // the meaning of the one extra sample; -1: none
    // One row of samples in the order the file stores them.
    std::vector<uint16_t> samples;
    // The file ends before its samples.
    bool cutShort = false;
};

inline testimg::Bytes WriteTiff(const TiffSpec& spec) {
    testimg::Bytes out;
    auto put = [&](uint32_t value, unsigned size) {
        for (unsigned i = 0; i < size; ++i)
            out.push_back(uint8_t(value >> 8 * (spec.bigEndian ? size - 1 - i : i)));
    };
    const unsigned sampleBytes = spec.bitsPerSample / 8;
    const uint32_t planes = spec.planarConfiguration == 2 ? spec.samplesPerPixel : 1;
    const uint32_t stripBytes = uint32_t(spec.samples.size()) * sampleBytes / planes;
    struct Entry {
        uint16_t tag, type;
        std::vector<uint32_t> values;
    };
    std::vector<Entry> entries = {
        {256, 3, {spec.width}},
        {257, 3, {1}},
        {258, 3, std::vector<uint32_t>(spec.samplesPerPixel, spec.bitsPerSample)},
        {259, 3, {spec.compression}},
        {262, 3, {spec.photometric}},
        {273, 4, {}}, // the strips, filled in below
        {277, 3, {spec.samplesPerPixel}},
        {278, 3, {1}},
        {279, 4, std::vector<uint32_t>(planes, stripBytes)},
        {284, 3, {spec.planarConfiguration}},
    };
    if (spec.extraSample >= 0) entries.push_back({338, 3, {uint32_t(spec.extraSample)}});
    // Values that do not fit their entry, then the strips, follow the directory.
    uint32_t next = 8 + 2 + 12 * uint32_t(entries.size()) + 4;
    std::vector<uint32_t> spill(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t count = entries[i].tag == 273 ? planes : entries[i].values.size();
        const uint32_t size = uint32_t(count) * (entries[i].type == 3 ? 2 : 4);
        if (size > 4) spill[i] = next, next += size;
    }
    for (uint32_t plane = 0; plane < planes; ++plane)
        entries[5].values.push_back(next + plane * stripBytes);

    out.push_back(spec.bigEndian ? 'M' : 'I');
    out.push_back(spec.bigEndian ? 'M' : 'I');
    put(42, 2);
    put(8, 4);
    put(uint32_t(entries.size()), 2);
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const unsigned size = e.type == 3 ? 2 : 4;
        put(e.tag, 2);
        put(e.type, 2);
        put(uint32_t(e.values.size()), 4);
        if (spill[i]) {
            put(spill[i], 4);
            continue;
        }
        for (uint32_t value : e.values)
            put(value, size);
        for (size_t rest = e.values.size() * size; rest < 4; ++rest)
            out.push_back(0);
    }
    put(0, 4);
    for (size_t i = 0; i < entries.size(); ++i)
        if (spill[i])
            for (uint32_t value : entries[i].values)
                put(value, entries[i].type == 3 ? 2 : 4);
    if (!spec.cutShort)
        for (uint16_t sample : spec.samples)
            put(sample, sampleBytes);
    return out;
}
