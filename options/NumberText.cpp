#include "options/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

std::wstring FixedText(long double value, int decimals, bool grouped) {
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.*f", decimals < 0 ? 0 : decimals, static_cast<double>(value));
    std::wstring text(buffer, buffer + std::char_traits<char>::length(buffer));
    if (!grouped) return text;
    size_t begin = text[0] == L'-' ? 1 : 0;
    size_t point = text.find(L'.');
    size_t end = point == std::wstring::npos ? text.size() : point;
    for (size_t at = end; at > begin + 3; at -= 3)
        text.insert(at - 3, 1, L',');
    return text;
}

std::wstring PlainText(long double value) {
    std::wstring text = FixedText(value, 14, false);
    if (text.find(L'.') == std::wstring::npos) return text;
    while (text.back() == L'0')
        text.pop_back();
    if (text.back() == L'.') text.pop_back();
    return text;
}

bool TextToNumber(const std::wstring& text, long double& value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    long double v = std::wcstold(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

long double ParseNumberText(std::wstring t, wchar_t leadingChar) {
    if (t.empty()) return 0;
    if (leadingChar != L' ' && t[0] == leadingChar)
        t.erase(0, 1);
    else if (leadingChar == L' ' && (t[0] == L'$' || t[0] == L'\\' || t[0] == L'\u00A5'))
        t.erase(0, 1);
    // Positions are 1-based; p is the point's, or one past the end.
    size_t dot = t.find(L'.');
    size_t p = dot == std::wstring::npos ? t.size() + 1 : dot + 1;
    int commas = 0, digits = 0;
    for (size_t i = t.size(); i >= 1; --i) {
        wchar_t c = t[i - 1];
        if (c == L',') {
            if (i >= p || i == 1 || (p - i) % 4 != 0) return 0;
            ++commas;
        } else if (c >= L'0' && c <= L'9') {
            if (i < p) ++digits;
        } else if (c != L'+' && c != L'-' && c != L'.') {
            return 0;
        }
    }
    if (commas > 0) {
        if (commas != (digits - 1) / 3) return 0;
        std::erase(t, L',');
    }
    long double value = 0;
    return TextToNumber(t, value) ? value : 0;
}
