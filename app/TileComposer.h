#pragma once
// The tiled wallpaper: a picture repeated over a screen-sized BMP file from
// the first tile on, so that an offset or a centred tile takes effect.
#include "app/ChangePolicy.h"

#include <string>

class TPicture;

// Writes the screen-sized tiling of the picture to path as a 32-bit BMP. The
// rows are made and written band by band: no screen-sized bitmap is held.
void WriteTiledBitmap(const TPicture& picture, TileStart start, int screenWidth, int screenHeight,
                      const std::wstring& path);
