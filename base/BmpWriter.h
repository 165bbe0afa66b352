#pragma once
// BMP files written band by band from a source of rows: a screen-sized
// picture never needs a second full-size copy in memory.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

struct BmpFormat {
    int Width = 0;
    int Height = 0;
    // 1, 4, 8, 16, 24 or 32.
    int BitCount = 32;
    // The colour table (8 bits or less). It is read after the first band, so
    // a source that learns it while reading rows can fill it in then.
    std::span<const RGBQUAD> Colors;
    // The red, green and blue masks of 16- and 32-bit pixels laid out other
    // than the plain header says (5-6-5 pixels); empty for the plain layout.
    // Read after the first band, as the colour table.
    std::span<const DWORD> Masks;
};

// Bytes of one stored row of a DIB: whole 32-bit words. In 64 bits, so a
// made-up width cannot wrap before it is checked.
uint64_t DibStride(uint64_t width, unsigned bitCount);

// An uncompressed DIB's header; a negative height stores the rows top-down.
BITMAPINFOHEADER DibHeader(int width, int height, int bitCount);

// Fills `count` rows from row `first` into `band`, one stride apart. Rows are
// numbered as the file stores them: 0 is the bottom row.
using BmpRowSource = std::function<void(int first, int count, BYTE* band)>;
// Takes the file's bytes in order.
using BmpSink = std::function<void(const void* data, size_t size)>;

// The file header, the info header, the colour table or the masks, then the
// rows in bands of about bandBytes. A format without pixels, of another
// depth, or with masks that are not three for 16 or 32 bits raises
// std::invalid_argument; whatever the source or the sink throws passes on.
void WriteBmp(const BmpFormat& format, size_t bandBytes, const BmpRowSource& rows, const BmpSink& out);
