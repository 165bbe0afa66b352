#include "wallpaper/DesktopComposer.h"

#include "framework/TPicture.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {
long Wrap(long long value, long size) {
    long long r = value % size;
    return static_cast<long>(r < 0 ? r + size : r);
}

// One rectangle of the bitmap and what fills it: a monitor's piece, read
// from the monitor's picture at area-local coordinates.
struct Piece {
    RECT InBitmap;
    long AreaX, AreaY; // area-local point shown by the piece's top-left
    const MonitorArea* Monitor;
    const ScaledPicture* Picture;
};

// n pixels of one area row from area-local column x.
void AreaRow(const Piece& piece, long x, long y, long n, uint32_t background, uint32_t* out) {
    const MonitorArea& p = *piece.Monitor;
    const long w = piece.Picture->Width, h = piece.Picture->Height;
    if (p.Repeat) {
        const uint32_t* row = piece.Picture->Row(Wrap(static_cast<long long>(y) - p.Origin.y, h));
        long column = Wrap(static_cast<long long>(x) - p.Origin.x, w);
        while (n > 0) {
            long run = std::min(w - column, n);
            std::memcpy(out, row + column, static_cast<size_t>(run) * 4);
            out += run, n -= run, column = 0;
        }
        return;
    }
    const long row = y - p.Origin.y, column = x - p.Origin.x;
    long before = 0, count = 0;
    if (row >= 0 && row < h) {
        before = std::clamp(-column, 0L, n);
        count = std::clamp(w - (column + before), 0L, n - before);
    } else {
        before = n;
    }
    std::fill_n(out, before, background);
    if (count > 0)
        std::memcpy(out + before, piece.Picture->Row(row) + column + before, static_cast<size_t>(count) * 4);
    std::fill_n(out + before + count, n - before - count, background);
}

class DesktopRows {
  public:
    DesktopRows(const DesktopLayout& layout, std::span<const ScaledPicture> pictures, COLORREF background)
        : width_(layout.Bounds.right - layout.Bounds.left), height_(layout.Bounds.bottom - layout.Bounds.top),
          background_(DesktopPixel(background)) {
        if (pictures.size() != layout.Scaled.size()) throw std::invalid_argument("one picture per request");
        for (size_t i = 0; i < pictures.size(); ++i) {
            const SIZE s = layout.Scaled[i].Size;
            if (pictures[i].Width != s.cx || pictures[i].Height != s.cy || !pictures[i].Row)
                throw std::invalid_argument("picture not of the size asked for");
        }
        for (size_t m = 0; m < layout.Monitors.size(); ++m) {
            const MonitorArea& area = layout.Monitors[m];
            for (const BitmapPiece& piece : MonitorInBitmap(layout, m))
                pieces_.push_back({piece.InBitmap, area.Monitor.left - area.Area.left + piece.OnMonitor.x,
                                   area.Monitor.top - area.Area.top + piece.OnMonitor.y, &area,
                                   &pictures[area.Scaled]});
        }
    }

    BmpFormat Format() const {
        BmpFormat format;
        format.Width = width_;
        format.Height = height_;
        format.BitCount = 32;
        return format;
    }

    void Fill(int first, int count, BYTE* band) {
        for (int i = 0; i < count; ++i)
            Row(height_ - 1 - (first + i),
                reinterpret_cast<uint32_t*>(band) + static_cast<size_t>(i) * width_);
    }

  private:
    // Bitmap row y, left to right: each piece that crosses it (the first
    // one where monitors overlap), the desktop colour in the gaps.
    void Row(long y, uint32_t* out) {
        crossing_.clear();
        for (const Piece& p : pieces_)
            if (p.InBitmap.top <= y && y < p.InBitmap.bottom) crossing_.push_back(&p);
        std::sort(crossing_.begin(), crossing_.end(),
                  [](const Piece* a, const Piece* b) { return a->InBitmap.left < b->InBitmap.left; });
        long done = 0;
        for (const Piece* p : crossing_) {
            const long left = std::max(p->InBitmap.left, done);
            if (left >= p->InBitmap.right) continue;
            std::fill(out + done, out + left, background_);
            AreaRow(*p, p->AreaX + (left - p->InBitmap.left), p->AreaY + (y - p->InBitmap.top),
                    p->InBitmap.right - left, background_, out + left);
            done = p->InBitmap.right;
        }
        std::fill(out + done, out + width_, background_);
    }

    long width_, height_;
    uint32_t background_;
    std::vector<Piece> pieces_;
    std::vector<const Piece*> crossing_;
};
} // namespace

ScaledPicture PixelsPicture(std::span<const uint32_t> pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height)
        throw std::invalid_argument("too few pixels");
    const uint32_t* data = pixels.data();
    return {width, height, [data, width](int y) { return data + static_cast<size_t>(y) * width; }};
}

uint32_t DesktopPixel(COLORREF color) {
    return static_cast<uint32_t>(GetRValue(color)) << 16 | static_cast<uint32_t>(GetGValue(color)) << 8 |
           GetBValue(color);
}

void ComposeDesktop(const DesktopLayout& layout, std::span<const ScaledPicture> pictures, COLORREF background,
                    size_t bandBytes, const BmpSink& out) {
    DesktopRows rows(layout, pictures, background);
    WriteBmp(
        rows.Format(), bandBytes, [&](int first, int count, BYTE* band) { rows.Fill(first, count, band); },
        out);
}

void WriteDesktopBitmap(const DesktopLayout& layout, std::span<const ScaledPicture> pictures,
                        COLORREF background, const std::wstring& path) {
    DesktopRows rows(layout, pictures, background);
    // Bands of 256 KB stay in the cache between being made and being written.
    WriteBmpFile(path, rows.Format(), 256u << 10,
                 [&](int first, int count, BYTE* band) { rows.Fill(first, count, band); });
}
