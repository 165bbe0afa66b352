#pragma once
// Scales a picture while its rows arrive, for decoders that deliver rows in
// bands: source rows go in top first, and each destination row comes out as
// soon as the source rows it depends on are in. Only a few rows are held at
// any time (the sums of two rows at the source's width while rows shrink,
// else two rows of the destination's width), never a picture.
//
// Filter, per axis on its own: shrinking averages the area each destination
// pixel covers (box filter with fractional edges); enlarging interpolates
// linearly between the two nearest source pixels (pixel centres aligned,
// edges clamped); an axis of equal size is copied. Both axes equal: the rows
// are passed through unchanged.
//
// Colour is averaged weighted by alpha (premultiplied), so the colour of a
// pixel with alpha 0 never shows in its neighbours; the output has straight
// (not premultiplied) alpha, and a pixel whose alpha comes out 0 is all 0.
// A constant colour stays exactly that colour. Integer arithmetic: weights
// in 1/16384, intermediate values with 8 bits more than the output.
#include "base/PictureGeometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

enum class RowFormat {
    Bgr24,  // 3 bytes a pixel, opaque
    Bgra32, // 4 bytes a pixel, straight alpha
};

class RowResampler {
  public:
    // A finished destination row: y from the top, target.width pixels of
    // 32-bit BGRA (straight alpha), valid during the call.
    using RowSink = std::function<void(int y, const uint8_t* bgra)>;

    // Both sizes must have pixels (std::invalid_argument otherwise); the
    // source rows come in `format`.
    RowResampler(PixelSize source, PixelSize target, RowFormat format, RowSink sink);

    // The next `count` source rows, top first, `stride` bytes apart (may be
    // negative for bottom-up memory). More rows than the source has raise
    // std::logic_error.
    void Push(const uint8_t* rows, ptrdiff_t stride, int count);

    int RowsPushed() const { return pushed_; }
    bool Done() const { return emitted_ == target_.height; }

    // How the resampler works inside: the taps of one axis, for each
    // destination index the source indices first..first+count-1 and their
    // weights, which sum to kOne.
    struct Taps {
        std::vector<int32_t> first;
        std::vector<int32_t> count;
        std::vector<int32_t> offset; // of the first weight in `weights`
        std::vector<uint16_t> weights;
    };
    static constexpr uint32_t kOne = 1u << 14;

  private:
    // Rows shrinking: each source row is added, at its own width, into the
    // sums of the (at most two) destination rows it covers; a finished row
    // is then scaled across. Fewest pixels are scaled across that way. The
    // sums have a value per channel of the source: weight x colour while
    // every row added was opaque, weight x alpha x colour from the first
    // that is not (`premultiplied`); weight x alpha for alpha.
    struct RowSums {
        std::vector<uint32_t> values;
        bool premultiplied = false;
    };
    void PassThrough(const uint8_t* row);
    void AddToSums(int sourceRow, const uint8_t* row);
    void EmitSums(RowSums& sums);
    // Rows growing or equal: each source row is scaled across first, and a
    // destination row mixes the last two.
    void ScaleAcross(const uint8_t* row, uint16_t* out) const;
    void EmitFromRing(int sourceRow);
    // From 4 values a destination pixel: colour times alpha, alpha times 256.
    void Emit(const uint16_t* values);

    PixelSize source_, target_;
    size_t channels_;
    RowSink sink_;
    Taps columns_, rows_;
    bool shrinkRows_;
    int pushed_ = 0;
    int emitted_ = 0;
    RowSums sums_[2];
    std::vector<uint16_t> shrunk_;
    std::vector<uint16_t> ring_[2];
    std::vector<uint16_t> values_;
    std::vector<uint8_t> out_;
};
