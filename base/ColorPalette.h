#pragma once
#include <windows.h>

#include <span>

// A new logical palette of the colours, in their order; the caller owns it.
// Null for an empty table or more than 256 colours.
HPALETTE CreateColorPalette(std::span<const RGBQUAD> colors);
