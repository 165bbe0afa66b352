#pragma once
// Fonts of the forms' design values: a face name and a character height in
// pixels (negative, as the designs give it).
#include "framework/Handle.h"

#include <string>

UniqueFont CreateFontOf(const std::wstring& face, int height, bool bold = false);
