#include "plugins/common/GifColourTable.h"

namespace spi {
namespace {
// The header ("GIF89a"), then the logical screen: width, height, flags.
constexpr size_t kScreenFlags = 10;
constexpr size_t kScreenEnd = 13;
constexpr uint8_t kHasGlobalTable = 0x80;
// The size field of a table of 256 entries (2 to the power of 7 + 1).
constexpr uint8_t kTableOf256 = 7;
} // namespace

std::vector<uint8_t> DefaultGifColourTable() {
    std::vector<uint8_t> table(256 * 3);
    for (size_t i = 0; i < 256; ++i) {
        const uint8_t level = i == 1 ? 255 : static_cast<uint8_t>(i);
        table[i * 3] = table[i * 3 + 1] = table[i * 3 + 2] = level;
    }
    return table;
}

Prepared PrepareGif(std::span<const uint8_t> gif) {
    Prepared prepared;
    if (gif.size() < kScreenEnd || (gif[kScreenFlags] & kHasGlobalTable)) return prepared;
    const std::vector<uint8_t> table = DefaultGifColourTable();
    std::vector<uint8_t>& mended = prepared.bytes;
    mended.assign(gif.begin(), gif.begin() + kScreenEnd);
    mended[kScreenFlags] = static_cast<uint8_t>((gif[kScreenFlags] & ~0x07) | kHasGlobalTable | kTableOf256);
    mended.insert(mended.end(), table.begin(), table.end());
    mended.insert(mended.end(), gif.begin() + kScreenEnd, gif.end());
    return prepared;
}

} // namespace spi
