#pragma once
// The number texts of the numeric edit: its display format and its reading
// of texts typed, pasted or set from outside. The separators are always ','
// and '.', whatever the user's locale: the options dialog reads the text
// back by these characters.
#include <string>

// Fixed-point text with exactly `decimals` decimals (rounded), a leading '-'
// for negative numbers and, when grouped, the integer digits in threes.
std::wstring FixedText(long double value, int decimals, bool grouped);

// The plain decimal text of a number: no grouping, a point only when there
// is a fraction, at most 14 decimals.
std::wstring PlainText(long double value);

// A decimal text with an optional sign and point; false when it is none.
bool TextToNumber(const std::wstring& text, long double& value);

// A displayed or pasted text read back as a number: the leading character
// (or, when there is none, a '$' or yen sign) is skipped, commas are allowed
// only at the thousands positions. Anything else reads as 0, never an error.
long double ParseNumberText(std::wstring text, wchar_t leadingChar);
