#include "base/ExtensionOf.h"

std::wstring ExtensionOf(std::wstring_view path) {
    const size_t start = path.find_last_of(L"\\/:");
    const std::wstring_view name = start == std::wstring_view::npos ? path : path.substr(start + 1);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring_view::npos ? std::wstring() : std::wstring(name.substr(dot));
}
