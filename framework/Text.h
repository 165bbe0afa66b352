#pragma once
// Text helpers: "%s" formatting of the program's messages, number parsing the
// way the settings store reads numbers, and code-page conversions.
#include <optional>
#include <string>
#include <string_view>

// Replaces each "%s" in order with the next argument.
std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

// Signed decimal, or hexadecimal after "0x"/"0X" when the text is longer than
// two characters. Nothing else (blanks, trailing letters, overflow) is a number.
std::optional<int> ParseInteger(std::wstring_view text);

std::wstring IntToText(long long value);

std::string WideToCodePage(std::wstring_view text, unsigned codePage, bool* lossy = nullptr);
std::wstring CodePageToWide(std::string_view text, unsigned codePage);
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

// Upper-cases ASCII letters only.
std::wstring AsciiUpper(std::wstring_view text);
