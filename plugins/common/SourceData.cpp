#include "plugins/common/SourceData.h"

#include "base/UniqueHandle.h"
#include "plugins/common/Failure.h"

#include <algorithm>
#include <string>

namespace spi {
namespace {
// What IsSupported may count on being readable through the pointer form.
constexpr size_t kHeadSize = 2048;

std::wstring WidePath(LPCSTR path) {
    int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 1) Fail(susie::FileReadError);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// Reads until `size` bytes are in or the file ends; returns the count read.
size_t ReadFully(HANDLE file, uint8_t* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 24));
        DWORD got = 0;
        if (!ReadFile(file, buffer + done, chunk, &got, nullptr)) Fail(susie::FileReadError);
        if (got == 0) break;
        done += got;
    }
    return done;
}

std::vector<uint8_t> ReadFileFrom(LPCSTR path, LONG_PTR offset) {
    if (!path || offset < 0) Fail(susie::FileReadError);
    UniqueFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) Fail(susie::FileReadError);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) Fail(susie::FileReadError);
    if (size.QuadPart <= offset) return {};
    const long long remaining = size.QuadPart - offset;
    // A picture that does not fit the address space cannot be decoded here.
    if (static_cast<unsigned long long>(remaining) > PTRDIFF_MAX / 2) Fail(susie::NoMemory);
    LARGE_INTEGER start{};
    start.QuadPart = offset;
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN)) Fail(susie::FileReadError);
    std::vector<uint8_t> bytes(static_cast<size_t>(remaining));
    bytes.resize(ReadFully(file.get(), bytes.data(), bytes.size()));
    return bytes;
}
} // namespace

SourceData SourceData::Open(LPCSTR path, LONG_PTR offset, uint32_t flag) {
    SourceData source;
    switch (flag & 7) {
    case susie::kSourceFile:
        source.owned_ = ReadFileFrom(path, offset);
        break;
    case susie::kSourceMemory:
        if (!path || offset < 0) Fail(susie::MemoryError);
        source.borrowed_ = reinterpret_cast<const uint8_t*>(path);
        source.borrowedSize_ = static_cast<size_t>(offset);
        break;
    default:
        Fail(susie::NotImplemented);
    }
    return source;
}

std::span<const uint8_t> SourceData::bytes() const {
    if (borrowed_) return {borrowed_, borrowedSize_};
    return owned_;
}

std::vector<uint8_t> ReadHead(void* data) {
    const auto value = reinterpret_cast<ULONG_PTR>(data);
    if (value & ~static_cast<ULONG_PTR>(0xFFFF)) {
        const auto* head = static_cast<const uint8_t*>(data);
        return {head, head + kHeadSize};
    }
    HANDLE file = data;
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(file, zero, &position, FILE_CURRENT)) return {};
    std::vector<uint8_t> head(kHeadSize);
    DWORD got = 0;
    if (!ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr)) got = 0;
    head.resize(got);
    SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    return head;
}

void SourceData::Replace(std::vector<uint8_t> bytes) {
    owned_ = std::move(bytes);
    borrowed_ = nullptr;
    borrowedSize_ = 0;
}

} // namespace spi
