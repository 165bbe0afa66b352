#include "base/RowResampler.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {
using Taps = RowResampler::Taps;
constexpr uint32_t kOne = RowResampler::kOne;
constexpr uint32_t kOneShift = 14;
constexpr uint32_t kHalf = kOne / 2;
// Alpha 255 in the intermediate unit (alpha times 256).
constexpr uint32_t kOpaque = 255u << 8;

void AddTap(Taps& taps, uint64_t weight) {
    taps.weights.push_back(static_cast<uint16_t>(weight));
}

void StartTaps(Taps& taps, int first, int count) {
    taps.first.push_back(first);
    taps.count.push_back(count);
    taps.offset.push_back(static_cast<int32_t>(taps.weights.size()));
}

// Destination pixel i covers the source from i*S/D to (i+1)*S/D. Measured in
// units of 1/D source pixel, source pixel k covers k*D to (k+1)*D. Each
// weight is the difference of the rounded running coverage, so the weights
// of a pixel sum to kOne exactly however many there are.
void AreaTaps(uint64_t source, uint64_t target, Taps& taps) {
    for (uint64_t i = 0; i < target; ++i) {
        const uint64_t start = i * source, end = start + source;
        const uint64_t first = start / target, last = (end - 1) / target;
        StartTaps(taps, static_cast<int>(first), static_cast<int>(last - first + 1));
        uint64_t before = 0;
        for (uint64_t k = first; k <= last; ++k) {
            const uint64_t covered = std::min((k + 1) * target, end) - start;
            const uint64_t running = (covered * kOne * 2 + source) / (source * 2);
            AddTap(taps, running - before);
            before = running;
        }
    }
}

// Destination pixel i's centre lies at (i + 1/2) * S/D - 1/2 in source
// pixels, that is ((2i + 1) * S - D) / 2D; it is clamped to the first and
// last source pixel.
void LinearTaps(uint64_t source, uint64_t target, Taps& taps) {
    for (uint64_t i = 0; i < target; ++i) {
        const int64_t position = static_cast<int64_t>((2 * i + 1) * source) - static_cast<int64_t>(target);
        const uint64_t k = position <= 0 ? 0 : static_cast<uint64_t>(position) / (2 * target);
        const uint64_t fraction = position <= 0 ? 0 : static_cast<uint64_t>(position) % (2 * target);
        const uint64_t next = (fraction * kOne + target) / (2 * target);
        if (k + 1 >= source || next == 0) {
            StartTaps(taps, static_cast<int>(std::min(k, source - 1)), 1);
            AddTap(taps, kOne);
        } else {
            StartTaps(taps, static_cast<int>(k), 2);
            AddTap(taps, kOne - next);
            AddTap(taps, next);
        }
    }
}

bool AllOpaque(const uint8_t* row, int width) {
    for (int x = 0; x < width; ++x)
        if (row[x * 4 + 3] != 255) return false;
    return true;
}

// One source row scaled across: per destination pixel the colour times alpha
// (0..65025) and alpha times 256 (0..65280).
template <int Bytes, bool Opaque> void ScaleRow(const uint8_t* row, const Taps& taps, uint16_t* out) {
    const size_t width = taps.first.size();
    for (size_t x = 0; x < width; ++x, out += 4) {
        const uint8_t* pixel = row + static_cast<size_t>(taps.first[x]) * Bytes;
        const uint16_t* weight = taps.weights.data() + taps.offset[x];
        const int count = taps.count[x];
        uint32_t b = 0, g = 0, r = 0, a = 0;
        for (int k = 0; k < count; ++k, pixel += Bytes) {
            const uint32_t w = Opaque ? weight[k] : weight[k] * uint32_t{pixel[3]};
            b += w * pixel[0];
            g += w * pixel[1];
            r += w * pixel[2];
            if (!Opaque) a += w;
        }
        if (Opaque) {
            out[0] = static_cast<uint16_t>((b * 255 + kHalf) >> kOneShift);
            out[1] = static_cast<uint16_t>((g * 255 + kHalf) >> kOneShift);
            out[2] = static_cast<uint16_t>((r * 255 + kHalf) >> kOneShift);
            out[3] = static_cast<uint16_t>(kOpaque);
        } else {
            out[0] = static_cast<uint16_t>((b + kHalf) >> kOneShift);
            out[1] = static_cast<uint16_t>((g + kHalf) >> kOneShift);
            out[2] = static_cast<uint16_t>((r + kHalf) >> kOneShift);
            out[3] = static_cast<uint16_t>((a + 32) >> 6);
        }
    }
}

// Back from colour times alpha to straight colour.
void FinishPixel(const uint32_t* value, uint8_t* out) {
    const uint32_t alpha = value[3];
    if (alpha >= kOpaque) {
        for (int c = 0; c < 3; ++c)
            out[c] = static_cast<uint8_t>(std::min<uint32_t>(255, (value[c] + 127) / 255));
        out[3] = 255;
        return;
    }
    out[3] = static_cast<uint8_t>((alpha + 128) >> 8);
    if (out[3] == 0) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    // colour = value / (alpha / 256), through one reciprocal for the three.
    const uint32_t reciprocal = ((1u << 24) + alpha / 2) / alpha;
    for (int c = 0; c < 3; ++c)
        out[c] = static_cast<uint8_t>(std::min<uint32_t>(255, (value[c] * reciprocal + (1u << 15)) >> 16));
}
} // namespace

Taps RowResampler::AxisTaps(int source, int target) {
    if (source <= 0 || target <= 0) throw std::invalid_argument("resampling a size without pixels");
    Taps taps;
    if (source > target)
        AreaTaps(static_cast<uint64_t>(source), static_cast<uint64_t>(target), taps);
    else
        LinearTaps(static_cast<uint64_t>(source), static_cast<uint64_t>(target), taps);
    return taps;
}

RowResampler::RowResampler(PixelSize source, PixelSize target, RowSink sink)
    : source_(source), target_(target), sink_(std::move(sink)),
      columns_(AxisTaps(source.width, target.width)), rows_(AxisTaps(source.height, target.height)),
      shrinkRows_(target.height < source.height) {
    const size_t values = static_cast<size_t>(target.width) * 4;
    for (int i = 0; i < 2; ++i) {
        ring_[i].resize(values);
        if (shrinkRows_) sums_[i].assign(values, 0);
    }
    mixed_.resize(values);
    out_.resize(values);
}

void RowResampler::Push(const uint8_t* rows, ptrdiff_t stride, int count, RowFormat format) {
    if (count < 0 || count > source_.height - pushed_)
        throw std::logic_error("more rows than the picture has");
    for (int i = 0; i < count; ++i, rows += stride) {
        const int sourceRow = pushed_++;
        if (source_ == target_) {
            PassThrough(rows, format);
            continue;
        }
        uint16_t* scaled = ring_[sourceRow & 1].data();
        Horizontal(rows, format, scaled);
        if (shrinkRows_)
            Accumulate(sourceRow, scaled);
        else
            EmitFromRing(sourceRow);
    }
}

void RowResampler::PassThrough(const uint8_t* row, RowFormat format) {
    if (format == RowFormat::Bgra32) {
        sink_(emitted_++, row);
        return;
    }
    for (int x = 0; x < target_.width; ++x) {
        std::memcpy(&out_[static_cast<size_t>(x) * 4], row + static_cast<size_t>(x) * 3, 3);
        out_[static_cast<size_t>(x) * 4 + 3] = 255;
    }
    sink_(emitted_++, out_.data());
}

void RowResampler::Horizontal(const uint8_t* row, RowFormat format, uint16_t* out) const {
    if (format == RowFormat::Bgr24)
        ScaleRow<3, true>(row, columns_, out);
    else if (AllOpaque(row, source_.width))
        ScaleRow<4, true>(row, columns_, out);
    else
        ScaleRow<4, false>(row, columns_, out);
}

// A shrinking source row adds to the destination row it starts in and, when
// it straddles their border, to the next one.
void RowResampler::Accumulate(int sourceRow, const uint16_t* row) {
    const size_t values = mixed_.size();
    for (int j = emitted_; j < std::min(emitted_ + 2, target_.height) && rows_.first[j] <= sourceRow; ++j) {
        const int tap = sourceRow - rows_.first[j];
        if (tap >= rows_.count[j]) continue;
        const uint32_t weight = rows_.weights[rows_.offset[j] + tap];
        uint32_t* sums = sums_[j & 1].data();
        for (size_t v = 0; v < values; ++v)
            sums[v] += weight * row[v];
    }
    while (emitted_ < target_.height && rows_.first[emitted_] + rows_.count[emitted_] - 1 <= sourceRow) {
        uint32_t* sums = sums_[emitted_ & 1].data();
        Emit(sums, kOneShift);
        std::fill(sums, sums + values, 0u);
    }
}

// Growing or equal rows: a destination row needs at most the last two.
void RowResampler::EmitFromRing(int sourceRow) {
    const size_t values = mixed_.size();
    while (emitted_ < target_.height && rows_.first[emitted_] + rows_.count[emitted_] - 1 <= sourceRow) {
        const int first = rows_.first[emitted_];
        const uint16_t* weight = rows_.weights.data() + rows_.offset[emitted_];
        const uint16_t* top = ring_[first & 1].data();
        if (rows_.count[emitted_] == 1) {
            for (size_t v = 0; v < values; ++v)
                mixed_[v] = top[v];
            Emit(mixed_.data(), 0);
            continue;
        }
        const uint16_t* bottom = ring_[(first + 1) & 1].data();
        const uint32_t w0 = weight[0], w1 = weight[1];
        for (size_t v = 0; v < values; ++v)
            mixed_[v] = w0 * top[v] + w1 * bottom[v];
        Emit(mixed_.data(), kOneShift);
    }
}

void RowResampler::Emit(const uint32_t* sums, uint32_t shift) {
    const uint32_t half = shift ? 1u << (shift - 1) : 0;
    uint8_t* out = out_.data();
    for (int x = 0; x < target_.width; ++x, sums += 4, out += 4) {
        const uint32_t value[4] = {(sums[0] + half) >> shift, (sums[1] + half) >> shift,
                                   (sums[2] + half) >> shift, (sums[3] + half) >> shift};
        FinishPixel(value, out);
    }
    sink_(emitted_++, out_.data());
}
