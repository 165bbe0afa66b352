#include "base/RowResampler.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

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

Taps AxisTaps(int source, int target) {
    if (source <= 0 || target <= 0) throw std::invalid_argument("resampling a size without pixels");
    Taps taps;
    if (source > target)
        AreaTaps(static_cast<uint64_t>(source), static_cast<uint64_t>(target), taps);
    else
        LinearTaps(static_cast<uint64_t>(source), static_cast<uint64_t>(target), taps);
    return taps;
}

bool AllOpaque(const uint8_t* row, int width) {
    for (int x = 0; x < width; ++x)
        if (row[x * 4 + 3] != 255) return false;
    return true;
}

uint16_t Normal(uint32_t sum) {
    return static_cast<uint16_t>((sum + kHalf) >> kOneShift);
}

// An opaque row into sums of weight x colour: every channel (alpha 255 adds
// weight x 255, which is weight x alpha), 16 by 8 bits, which vectorises.
void AddPlain(const uint8_t* row, size_t count, uint16_t weight, uint32_t* sums) {
    for (size_t i = 0; i < count; ++i)
        sums[i] += static_cast<uint32_t>(weight * static_cast<uint16_t>(row[i]));
}

// A row into premultiplied sums of 4 channels.
void AddPremultiplied(const uint8_t* row, size_t width, uint32_t weight, uint32_t* sums) {
    for (size_t x = 0; x < width; ++x, row += 4, sums += 4) {
        const uint32_t wa = weight * row[3];
        for (int c = 0; c < 3; ++c)
            sums[c] += wa * row[c];
        sums[3] += wa;
    }
}

// Sums of colour to sums of alpha x colour: every row so far had alpha 255.
void Premultiply(std::vector<uint32_t>& sums) {
    for (size_t i = 0; i < sums.size(); ++i)
        if (i % 4 != 3) sums[i] *= 255;
}

// A row of summed values (Channels a pixel, colour times alpha and alpha
// times 256) scaled across.
template <int Channels, bool Alpha> void ScaleSums(const uint16_t* row, const Taps& taps, uint16_t* out) {
    const size_t width = taps.first.size();
    for (size_t x = 0; x < width; ++x, out += 4) {
        const uint16_t* value = row + static_cast<size_t>(taps.first[x]) * Channels;
        const uint16_t* weight = taps.weights.data() + taps.offset[x];
        uint32_t b = 0, g = 0, r = 0, a = 0;
        for (int k = 0; k < taps.count[x]; ++k, value += Channels) {
            const uint32_t w = weight[k];
            b += w * value[0];
            g += w * value[1];
            r += w * value[2];
            if (Alpha) a += w * value[3];
        }
        out[0] = Normal(b);
        out[1] = Normal(g);
        out[2] = Normal(r);
        out[3] = Alpha ? Normal(a) : static_cast<uint16_t>(kOpaque);
    }
}

// One source row of bytes scaled across: per destination pixel the colour
// times alpha (0..65025) and alpha times 256 (0..65280).
template <int Bytes, bool Opaque> void ScaleRow(const uint8_t* row, const Taps& taps, uint16_t* out) {
    const size_t width = taps.first.size();
    for (size_t x = 0; x < width; ++x, out += 4) {
        const uint8_t* pixel = row + static_cast<size_t>(taps.first[x]) * Bytes;
        const uint16_t* weight = taps.weights.data() + taps.offset[x];
        uint32_t b = 0, g = 0, r = 0, a = 0;
        for (int k = 0; k < taps.count[x]; ++k, pixel += Bytes) {
            const uint32_t w = Opaque ? weight[k] * 255u : weight[k] * uint32_t{pixel[3]};
            b += w * pixel[0];
            g += w * pixel[1];
            r += w * pixel[2];
            if (!Opaque) a += w;
        }
        out[0] = Normal(b);
        out[1] = Normal(g);
        out[2] = Normal(r);
        out[3] = Opaque ? static_cast<uint16_t>(kOpaque) : static_cast<uint16_t>((a + 32) >> 6);
    }
}

// Back from colour times alpha to straight colour.
void FinishPixel(const uint16_t* value, uint8_t* out) {
    const uint32_t alpha = value[3];
    if (alpha >= kOpaque) {
        for (int c = 0; c < 3; ++c)
            out[c] = static_cast<uint8_t>(std::min<uint32_t>(255, (value[c] + 127u) / 255));
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

RowResampler::RowResampler(PixelSize source, PixelSize target, RowFormat format, RowSink sink)
    : source_(source), target_(target), channels_(format == RowFormat::Bgr24 ? 3 : 4), sink_(std::move(sink)),
      columns_(AxisTaps(source.width, target.width)), rows_(AxisTaps(source.height, target.height)),
      shrinkRows_(target.height < source.height) {
    const size_t values = static_cast<size_t>(target.width) * 4;
    if (shrinkRows_) {
        for (RowSums& sums : sums_)
            sums.values.assign(static_cast<size_t>(source.width) * channels_, 0);
        shrunk_.resize(static_cast<size_t>(source.width) * channels_);
    } else {
        for (std::vector<uint16_t>& row : ring_)
            row.resize(values);
    }
    values_.resize(values);
    out_.resize(values);
}

void RowResampler::Push(const uint8_t* rows, ptrdiff_t stride, int count) {
    if (count < 0 || count > source_.height - pushed_)
        throw std::logic_error("more rows than the picture has");
    for (int i = 0; i < count; ++i, rows += stride) {
        const int sourceRow = pushed_++;
        if (source_ == target_) {
            PassThrough(rows);
        } else if (shrinkRows_) {
            AddToSums(sourceRow, rows);
        } else {
            ScaleAcross(rows, ring_[sourceRow & 1].data());
            EmitFromRing(sourceRow);
        }
    }
}

void RowResampler::PassThrough(const uint8_t* row) {
    if (channels_ == 4) {
        sink_(emitted_++, row);
        return;
    }
    for (size_t x = 0; x < static_cast<size_t>(target_.width); ++x) {
        std::memcpy(&out_[x * 4], row + x * 3, 3);
        out_[x * 4 + 3] = 255;
    }
    sink_(emitted_++, out_.data());
}

// A shrinking source row adds to the destination row it starts in and, when
// it straddles their border, to the next one.
void RowResampler::AddToSums(int sourceRow, const uint8_t* row) {
    const size_t width = static_cast<size_t>(source_.width);
    const bool opaque = channels_ == 3 || AllOpaque(row, source_.width);
    for (int j = emitted_; j < std::min(emitted_ + 2, target_.height) && rows_.first[j] <= sourceRow; ++j) {
        const int tap = sourceRow - rows_.first[j];
        if (tap >= rows_.count[j]) continue;
        const uint16_t weight = rows_.weights[static_cast<size_t>(rows_.offset[j] + tap)];
        RowSums& sums = sums_[j & 1];
        if (opaque && !sums.premultiplied) {
            AddPlain(row, width * channels_, weight, sums.values.data());
            continue;
        }
        if (!sums.premultiplied) {
            Premultiply(sums.values);
            sums.premultiplied = true;
        }
        AddPremultiplied(row, width, weight, sums.values.data());
    }
    while (emitted_ < target_.height && rows_.first[emitted_] + rows_.count[emitted_] - 1 <= sourceRow)
        EmitSums(sums_[emitted_ & 1]);
}

// The sums are emptied as they are read, ready for the row after next.
void RowResampler::EmitSums(RowSums& sums) {
    uint32_t* values = sums.values.data();
    const size_t count = sums.values.size();
    if (sums.premultiplied) {
        for (size_t i = 0; i < count; ++i) {
            const uint32_t sum = std::exchange(values[i], 0u);
            shrunk_[i] = i % 4 == 3 ? static_cast<uint16_t>((sum + 32) >> 6) : Normal(sum);
        }
        ScaleSums<4, true>(shrunk_.data(), columns_, values_.data());
    } else {
        for (size_t i = 0; i < count; ++i)
            shrunk_[i] = Normal(std::exchange(values[i], 0u) * 255);
        if (channels_ == 3)
            ScaleSums<3, false>(shrunk_.data(), columns_, values_.data());
        else
            ScaleSums<4, false>(shrunk_.data(), columns_, values_.data());
    }
    sums.premultiplied = false;
    Emit(values_.data());
}

void RowResampler::ScaleAcross(const uint8_t* row, uint16_t* out) const {
    if (channels_ == 3)
        ScaleRow<3, true>(row, columns_, out);
    else if (AllOpaque(row, source_.width))
        ScaleRow<4, true>(row, columns_, out);
    else
        ScaleRow<4, false>(row, columns_, out);
}

// Growing or equal rows: a destination row needs at most the last two.
void RowResampler::EmitFromRing(int sourceRow) {
    while (emitted_ < target_.height && rows_.first[emitted_] + rows_.count[emitted_] - 1 <= sourceRow) {
        const int first = rows_.first[emitted_];
        const uint16_t* top = ring_[first & 1].data();
        if (rows_.count[emitted_] == 1) {
            Emit(top);
            continue;
        }
        const uint16_t* weight = rows_.weights.data() + rows_.offset[emitted_];
        const uint16_t* bottom = ring_[(first + 1) & 1].data();
        const uint32_t w0 = weight[0], w1 = weight[1];
        for (size_t v = 0; v < values_.size(); ++v)
            values_[v] = Normal(w0 * top[v] + w1 * bottom[v]);
        Emit(values_.data());
    }
}

void RowResampler::Emit(const uint16_t* values) {
    uint8_t* out = out_.data();
    for (int x = 0; x < target_.width; ++x, values += 4, out += 4)
        FinishPixel(values, out);
    sink_(emitted_++, out_.data());
}
