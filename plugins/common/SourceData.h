#pragma once
// The bytes of a picture: read from a file starting at an offset, or
// borrowed from the caller's memory block.
#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace spi {

class SourceData {
  public:
    // flag's low three bits choose the source: 0 a file name (offset is where
    // the picture starts), 1 memory (offset is the block's length).
    // Throws Failure with FileReadError, MemoryError or NotImplemented.
    static SourceData Open(LPCSTR path, LONG_PTR offset, uint32_t flag);

    std::span<const uint8_t> bytes() const;
    // The picture from now on is these bytes.
    void Replace(std::vector<uint8_t> bytes);

  private:
    std::vector<uint8_t> owned_;
    const uint8_t* borrowed_ = nullptr;
    size_t borrowedSize_ = 0;
};

// The head of a file as IsSupported receives it: a pointer to the first
// bytes when the value is above the lowest 64 KB, else an open file handle
// from whose current position up to 2 KB are read (the position is put back).
std::vector<uint8_t> ReadHead(void* data);

} // namespace spi
