#include "framework/Fonts.h"

#include <cwchar>

UniqueFont CreateFontOf(const std::wstring& face, int height, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    // The designs name Japanese faces: ask for their character set, so the
    // mapper finds a Japanese font on any system language.
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return UniqueFont{CreateFontIndirectW(&lf)};
}
