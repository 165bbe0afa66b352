#include "framework/Text.h"

#include <windows.h>

#include <climits>

std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
    std::wstring out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's' && next != args.end()) {
            out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::optional<int> ParseInteger(std::wstring_view text) {
    bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    if (hex) {
        unsigned long long value = 0;
        for (wchar_t c : text.substr(2)) {
            int digit;
            if (c >= L'0' && c <= L'9')
                digit = c - L'0';
            else if (c >= L'a' && c <= L'f')
                digit = c - L'a' + 10;
            else if (c >= L'A' && c <= L'F')
                digit = c - L'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + digit;
            if (value > 0xFFFFFFFFull) return std::nullopt;
        }
        // Eight hex digits are the bit pattern of a 32-bit number, as 0xFFFFFFFF is -1.
        return static_cast<int>(static_cast<unsigned>(value));
    }
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

std::wstring IntToText(long long value) {
    return std::to_wstring(value);
}

std::string WideToCodePage(std::wstring_view text, unsigned codePage, bool* lossy) {
    if (lossy) *lossy = false;
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    // UTF-8 and UTF-7 refuse the "used default" flag.
    bool canReport = codePage != CP_UTF8 && codePage != CP_UTF7;
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                canReport ? &usedDefault : nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        canReport ? &usedDefault : nullptr);
    if (lossy) *lossy = usedDefault != FALSE;
    return out;
}

std::wstring CodePageToWide(std::string_view text, unsigned codePage) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string WideToUtf8(std::wstring_view text) {
    return WideToCodePage(text, CP_UTF8);
}
std::wstring Utf8ToWide(std::string_view text) {
    return CodePageToWide(text, CP_UTF8);
}

std::wstring AsciiUpper(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}
