#include "plugins/common/Signatures.h"

#include <algorithm>
#include <initializer_list>

namespace spi {
namespace {
bool StartsWith(std::span<const uint8_t> head, std::initializer_list<uint8_t> signature) {
    return head.size() >= signature.size() && std::equal(signature.begin(), signature.end(), head.begin());
}
} // namespace

bool IsJpeg(std::span<const uint8_t> head) {
    // Start of image, then the first marker of any kind.
    return StartsWith(head, {0xFF, 0xD8, 0xFF});
}

bool IsGif(std::span<const uint8_t> head) {
    return StartsWith(head, {'G', 'I', 'F', '8', '7', 'a'}) ||
           StartsWith(head, {'G', 'I', 'F', '8', '9', 'a'});
}

bool IsTiff(std::span<const uint8_t> head) {
    // Byte order mark followed by the magic number 42 in that byte order.
    return StartsWith(head, {'I', 'I', 0x2A, 0x00}) || StartsWith(head, {'M', 'M', 0x00, 0x2A});
}

bool IsPng(std::span<const uint8_t> head) {
    return StartsWith(head, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
}

} // namespace spi
