#include "base/BmpWriter.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

uint64_t DibStride(uint64_t width, unsigned bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

BITMAPINFOHEADER DibHeader(int width, int height, int bitCount) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitCount);
    header.biCompression = BI_RGB;
    return header;
}

void WriteBmp(const BmpFormat& format, size_t bandBytes, const BmpRowSource& rows, const BmpSink& out) {
    const int bits = format.BitCount;
    if (format.Width <= 0 || format.Height <= 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        throw std::invalid_argument("BMP format");
    if (!format.Masks.empty() && (format.Masks.size() != 3 || (bits != 16 && bits != 32)))
        throw std::invalid_argument("BMP masks");
    const size_t stride = static_cast<size_t>(DibStride(static_cast<uint64_t>(format.Width), bits));
    const int bandRows = static_cast<int>(std::clamp<size_t>(bandBytes / stride, 1, format.Height));
    std::vector<BYTE> band(stride * static_cast<size_t>(bandRows));

    for (int first = 0; first < format.Height; first += bandRows) {
        const int count = std::min(bandRows, format.Height - first);
        rows(first, count, band.data());
        if (first == 0) {
            const size_t fullTable = bits <= 8 ? size_t{1} << bits : 0;
            const size_t colors = std::min(format.Colors.size(), fullTable);
            // Bottom-up, as BMP files are.
            BITMAPINFOHEADER header = DibHeader(format.Width, format.Height, bits);
            header.biSizeImage = static_cast<DWORD>(stride * static_cast<size_t>(format.Height));
            // A full table is the default and needs no count.
            header.biClrUsed = colors == fullTable ? 0 : static_cast<DWORD>(colors);
            const size_t maskBytes = format.Masks.size_bytes();
            if (maskBytes) header.biCompression = BI_BITFIELDS;
            BITMAPFILEHEADER file{};
            file.bfType = 0x4D42; // "BM"
            file.bfOffBits =
                static_cast<DWORD>(sizeof(file) + sizeof(header) + maskBytes + colors * sizeof(RGBQUAD));
            file.bfSize = file.bfOffBits + header.biSizeImage;
            out(&file, sizeof(file));
            out(&header, sizeof(header));
            if (maskBytes) out(format.Masks.data(), maskBytes);
            if (colors) out(format.Colors.data(), colors * sizeof(RGBQUAD));
        }
        out(band.data(), stride * static_cast<size_t>(count));
    }
}
