#pragma once
// The orientation a picture file records for itself: in a JPEG the Exif
// block (an APP1 segment "Exif" holding a TIFF header and its first
// directory), in a TIFF file its own first directory; tag 0x0112, a SHORT of
// 1 to 8 (see Orientation.h). Anything missing, damaged, cut short or absurd
// reads as 1 (as stored): no failure, and nothing read outside the file.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

// Random access to a file's bytes: fills `out` with `size` bytes from
// `offset`, or returns false when they are not all there.
using ByteReader = std::function<bool(uint64_t offset, void* out, size_t size)>;

// A reader over bytes in memory (which must outlive it).
ByteReader MemoryReader(std::span<const uint8_t> bytes);

int JpegOrientation(const ByteReader& read);
int TiffOrientation(const ByteReader& read);
// JPEG or TIFF by the first bytes; 1 for anything else.
int PictureOrientation(const ByteReader& read);
// The same for a file on disk; 1 when it cannot be read. Reads only the
// parts it needs.
int FileOrientation(const wchar_t* path);
