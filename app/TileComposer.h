#pragma once
// The tiled wallpaper: a picture repeated over a screen-sized canvas from the
// first tile on, so that an offset or a centred tile takes effect.
#include "app/ChangePolicy.h"
#include "framework/Handle.h"

class TPicture;

UniqueBitmap ComposeTiles(const TPicture& picture, TileStart start, int screenWidth, int screenHeight);
