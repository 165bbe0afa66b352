#pragma once
// The script of the fake image plug-in. It lives in named shared memory that
// the test creates, because the plug-in library is loaded afresh for every
// picture: the test sets the results and the picture to deliver before a
// load, and the plug-in records its calls, its memory blocks and its loading
// and unloading there.
#include <windows.h>

#include <cstdint>
#include <iterator>
#include <string>

namespace fakespi {

enum Entry : int32_t { kInfo = 0, kPicture = 1, kPreview = 2 };

// What an entry point does before it answers.
enum Misdeed : int32_t {
    kBehaves = 0,
    kAccessViolation,
    kIllegalInstruction,
    kDivideByZero,
    kStackOverflow,
    kCaughtCppException, // thrown and caught inside the plug-in
};

struct Call {
    int32_t Entry;
    int32_t Offset;
    int32_t PathOpens; // the path, read as ANSI, names a file that opens
    char Path[300];
};

struct Script {
    // Result of each entry point at offset 0 and at offset 128; any other
    // offset is answered with -1.
    int32_t Results[3][2];
    int32_t Width, Height;               // the record's size and GetPicture's DIB
    int32_t PreviewWidth, PreviewHeight; // GetPreview's DIB
    uint16_t XDensity, YDensity;
    int32_t BitCount;        // 1, 4, 8, 24 or 32
    int32_t ClrUsed;         // biClrUsed of an indexed DIB
    int32_t TextInfo;        // GetPictureInfo hands over a text-information block
    int32_t BlocksOnFailure; // failing calls still hand over their blocks
    int32_t ShortPixels;     // the pixel block is one byte too small
    int32_t Misdeeds[3];     // per entry point, at every offset

    int32_t Attached, Detached;
    char Module[MAX_PATH]; // the file the plug-in was last loaded from
    int32_t CallCount;
    Call Calls[16];
    int32_t BlockCount;
    uint64_t Blocks[64];
};

// Per process; a test that runs the program sets the name for both in the
// environment the program inherits.
inline std::wstring MappingName() {
    wchar_t name[128];
    DWORD length = GetEnvironmentVariableW(L"TAPESTRA_FAKESPI", name, static_cast<DWORD>(std::size(name)));
    if (length > 0 && length < std::size(name)) return name;
    return L"TapestraFakeSpi." + std::to_wstring(GetCurrentProcessId());
}

// The picture the fake delivers, so tests can check every pixel.
inline int TableSize(const Script& s) {
    return s.ClrUsed != 0 ? s.ClrUsed : 1 << s.BitCount;
}
inline RGBQUAD TableColor(int i) {
    return RGBQUAD{static_cast<BYTE>(i * 37), static_cast<BYTE>(i * 91 + 7), static_cast<BYTE>(255 - i * 53),
                   0};
}
// Pixel (x, y), counted from the top row; pictures read at offset 128 differ.
inline int PixelIndex(int x, int y, int offset, int tableSize) {
    return (x + 2 * y + (offset == 128 ? 1 : 0)) % tableSize;
}
inline COLORREF DirectColor(int x, int y, int offset) {
    return RGB((x * 8) & 0xFF, (y * 8) & 0xFF, offset == 128 ? 0xC0 : 0x40);
}

} // namespace fakespi
