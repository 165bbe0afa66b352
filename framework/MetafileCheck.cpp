#include "framework/MetafileCheck.h"

#include "framework/DibFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

template <typename T> bool ReadAt(std::span<const BYTE> data, size_t offset, T& out) {
    if (offset > data.size() || data.size() - offset < sizeof(T)) return false;
    std::memcpy(&out, data.data() + offset, sizeof(T));
    return true;
}

// ---- Windows metafiles: 16-bit parameters after a 6-byte record head.

class WmfRecord {
  public:
    WmfRecord(std::span<const BYTE> params, unsigned objects) : params_(params), objects_(objects) {}
    size_t Count() const { return params_.size() / 2; }
    unsigned Param(size_t i) const {
        WORD value = 0;
        ReadAt(params_, i * 2, value);
        return value;
    }
    bool Has(uint64_t words) const { return words <= Count(); }
    bool Object(size_t i) const { return Has(i + 1) && Param(i) < objects_; }
    // A packed DIB at parameter `first`, its pixels right after its table.
    bool Dib(size_t first) const {
        if (!Has(first + 1)) return false;
        const std::span<const BYTE> dib = params_.subspan(first * 2);
        size_t infoSize = 0;
        return ValidPackedDib(dib, dib.size(), &infoSize) && ValidPackedDib(dib, dib.size() - infoSize);
    }
    // A region: 10 words of head, a bounding rectangle, then bands of
    // (count, top, bottom, count x-pairs..., count).
    bool Region() const {
        if (!Has(11)) return false;
        size_t at = 11;
        for (unsigned band = 0; band < Param(5); ++band) {
            if (!Has(at + 1)) return false;
            const unsigned count = Param(at);
            const size_t end = at + 3 + count;
            if (count % 2 != 0 || !Has(end + 1) || Param(end) != count) return false;
            at = end + 1;
        }
        return true;
    }

  private:
    std::span<const BYTE> params_;
    unsigned objects_;
};

bool ValidWmfRecord(unsigned function, const WmfRecord& r) {
    switch (function) {
    case 0x012D: // SelectObject
    case 0x01F0: // DeleteObject
    case 0x0234: // SelectPalette
    case 0x012C: // SelectClipRegion
    case 0x012A: // InvertRegion
    case 0x012B: // PaintRegion
        return r.Object(0);
    case 0x0228: // FillRegion
    case 0x0429: // FrameRegion
        return r.Object(0) && r.Object(1);
    case 0x0324: // Polygon
    case 0x0325: // Polyline
        return r.Has(1) && r.Has(1 + 2ull * r.Param(0));
    case 0x0538: { // PolyPolygon
        if (!r.Has(1) || !r.Has(1ull + r.Param(0))) return false;
        uint64_t points = 0;
        for (unsigned i = 0; i < r.Param(0); ++i)
            points += r.Param(1 + i);
        return r.Has(1 + r.Param(0) + 2 * points);
    }
    case 0x0521: // TextOut
        return r.Has(1) && r.Has(3 + (r.Param(0) + 1ull) / 2);
    case 0x0A32: // ExtTextOut
        return r.Has(4) &&
               r.Has(4 + ((r.Param(3) & (ETO_OPAQUE | ETO_CLIPPED)) ? 4 : 0) + (r.Param(2) + 1ull) / 2);
    case 0x00F7: // CreatePalette
    case 0x0037: // SetPalEntries
    case 0x0436: // AnimatePalette
        return r.Has(2) && r.Has(2 + 2ull * r.Param(1));
    case 0x0626: // Escape
        return r.Has(2) && r.Has(2 + (r.Param(1) + 1ull) / 2);
    case 0x06FF: // CreateRegion
        return r.Region();
    case 0x02FB: // CreateFontIndirect: the fixed part of the logical font
        return r.Has(9);
    case 0x0142: // DibCreatePatternBrush
        return r.Dib(2);
    case 0x0940: // DibBitBlt, with a bitmap unless it is a pattern blit
        return r.Count() <= 9 || r.Dib(8);
    case 0x0B41: // DibStretchBlt
        return r.Count() <= 11 || r.Dib(10);
    case 0x0F43: // StretchDib
        return r.Dib(11);
    case 0x0D33: // SetDibToDev
        return r.Dib(9);
    case 0x0922: // BitBlt, StretchBlt and CreatePatternBrush with device-
    case 0x0B23: // dependent bitmaps of the oldest format are not taken
    case 0x01F9:
        return false;
    default:
        return true;
    }
}

// ---- Enhanced metafiles: 32-bit records that give their own size.

class EmfRecord {
  public:
    EmfRecord(std::span<const BYTE> bytes, DWORD handles) : bytes_(bytes), handles_(handles) {}
    DWORD At(size_t offset) const {
        DWORD value = 0;
        ReadAt(bytes_, offset, value);
        return value;
    }
    bool Has(uint64_t size) const { return size <= bytes_.size(); }
    // Stock objects have the high bit set; slot 0 is the metafile itself.
    bool Object(size_t offset, bool stockAllowed) const {
        const DWORD index = At(offset);
        if (stockAllowed && (index & 0x80000000u)) return true;
        return index > 0 && index < handles_;
    }
    // A bitmap given by offset and size of its header and of its pixels;
    // none at all when both sizes are 0.
    bool Dib(size_t offBmi, bool optional = true) const {
        const DWORD infoAt = At(offBmi), infoSize = At(offBmi + 4), bitsAt = At(offBmi + 8),
                    bitsSize = At(offBmi + 12);
        if (optional && infoSize == 0 && bitsSize == 0) return true;
        if (!Has(static_cast<uint64_t>(infoAt) + infoSize) || !Has(static_cast<uint64_t>(bitsAt) + bitsSize))
            return false;
        return ValidPackedDib(bytes_.subspan(infoAt, infoSize), bitsSize);
    }
    bool Region(size_t sizeAt, size_t dataAt) const {
        const DWORD size = At(sizeAt);
        RGNDATAHEADER header{};
        if (!Has(static_cast<uint64_t>(dataAt) + size) || size < sizeof(header) ||
            !ReadAt(bytes_.subspan(dataAt, size), 0, header))
            return false;
        return header.dwSize >= sizeof(header) && header.dwSize + header.nCount * 16ull <= size;
    }
    bool Text(size_t emrText, unsigned charSize) const {
        const size_t text = emrText;
        if (!Has(text + sizeof(EMRTEXT))) return false;
        const uint64_t chars = At(text + offsetof(EMRTEXT, nChars));
        const DWORD string = At(text + offsetof(EMRTEXT, offString)),
                    dx = At(text + offsetof(EMRTEXT, offDx));
        // Vertical spacing doubles the spacing array.
        const unsigned perChar = (At(text + offsetof(EMRTEXT, fOptions)) & ETO_PDY) ? 8 : 4;
        return Has(string + chars * charSize) && (dx == 0 || Has(dx + chars * perChar));
    }
    bool Points(size_t countAt, unsigned pointSize, unsigned extra = 0) const {
        return Has(countAt + 4 + static_cast<uint64_t>(At(countAt)) * (pointSize + extra));
    }
    bool PolyPoly(unsigned pointSize) const {
        const uint64_t polys = At(24), points = At(28);
        if (!Has(32 + polys * 4 + points * pointSize)) return false;
        uint64_t sum = 0;
        for (uint64_t i = 0; i < polys; ++i)
            sum += At(32 + i * 4);
        return sum <= points;
    }

  private:
    std::span<const BYTE> bytes_;
    DWORD handles_;
};

constexpr DWORD kEmrSmallTextOut = 108;

// The fixed part every record of a kind must have.
struct MinSize {
    DWORD type;
    size_t size;
};
constexpr MinSize kMinSizes[] = {
    {EMR_SETWINDOWEXTEX, sizeof(EMRSETWINDOWEXTEX)},
    {EMR_SETVIEWPORTEXTEX, sizeof(EMRSETVIEWPORTEXTEX)},
    {EMR_SETWINDOWORGEX, sizeof(EMRSETWINDOWORGEX)},
    {EMR_SETVIEWPORTORGEX, sizeof(EMRSETVIEWPORTORGEX)},
    {EMR_CREATEPEN, sizeof(EMRCREATEPEN)},
    {EMR_CREATEBRUSHINDIRECT, sizeof(EMRCREATEBRUSHINDIRECT)},
    {EMR_SELECTOBJECT, sizeof(EMRSELECTOBJECT)},
    {EMR_DELETEOBJECT, sizeof(EMRSELECTOBJECT)},
    {EMR_RECTANGLE, sizeof(EMRRECTANGLE)},
    {EMR_ELLIPSE, sizeof(EMRELLIPSE)},
    {EMR_ROUNDRECT, sizeof(EMRROUNDRECT)},
    {EMR_ARC, sizeof(EMRARC)},
    {EMR_CHORD, sizeof(EMRARC)},
    {EMR_PIE, sizeof(EMRARC)},
    {EMR_ARCTO, sizeof(EMRARC)},
    {EMR_MOVETOEX, sizeof(EMRMOVETOEX)},
    {EMR_LINETO, sizeof(EMRLINETO)},
    {EMR_SETMAPMODE, sizeof(EMRSETMAPMODE)},
    {EMR_SETBKMODE, sizeof(EMRSETBKMODE)},
    {EMR_SETBKCOLOR, sizeof(EMRSETBKCOLOR)},
    {EMR_SETTEXTCOLOR, sizeof(EMRSETTEXTCOLOR)},
    {EMR_SETPOLYFILLMODE, sizeof(EMRSETPOLYFILLMODE)},
    {EMR_SETROP2, sizeof(EMRSETROP2)},
    {EMR_SETSTRETCHBLTMODE, sizeof(EMRSETSTRETCHBLTMODE)},
    {EMR_SETTEXTALIGN, sizeof(EMRSETTEXTALIGN)},
    {EMR_SETWORLDTRANSFORM, sizeof(EMRSETWORLDTRANSFORM)},
    {EMR_MODIFYWORLDTRANSFORM, sizeof(EMRMODIFYWORLDTRANSFORM)},
    {EMR_RESTOREDC, sizeof(EMRRESTOREDC)},
    {EMR_INTERSECTCLIPRECT, sizeof(EMRINTERSECTCLIPRECT)},
    {EMR_EXCLUDECLIPRECT, sizeof(EMREXCLUDECLIPRECT)},
    {EMR_SCALEVIEWPORTEXTEX, sizeof(EMRSCALEVIEWPORTEXTEX)},
    {EMR_SCALEWINDOWEXTEX, sizeof(EMRSCALEWINDOWEXTEX)},
    {EMR_EXTCREATEFONTINDIRECTW, offsetof(EMREXTCREATEFONTINDIRECTW, elfw) + sizeof(LOGFONTW)},
    {EMR_EXTCREATEPEN, sizeof(EMREXTCREATEPEN) - sizeof(DWORD)},
    {EMR_CREATEPALETTE, sizeof(EMRCREATEPALETTE) - sizeof(PALETTEENTRY)},
    {EMR_SETPALETTEENTRIES, sizeof(EMRSETPALETTEENTRIES) - sizeof(PALETTEENTRY)},
    {EMR_SELECTPALETTE, sizeof(EMRSELECTPALETTE)},
    {EMR_RESIZEPALETTE, sizeof(EMRRESIZEPALETTE)},
    {EMR_EXTSELECTCLIPRGN, offsetof(EMREXTSELECTCLIPRGN, RgnData)},
    {EMR_FILLRGN, offsetof(EMRFILLRGN, RgnData)},
    {EMR_FRAMERGN, offsetof(EMRFRAMERGN, RgnData)},
    {EMR_INVERTRGN, offsetof(EMRINVERTRGN, RgnData)},
    {EMR_PAINTRGN, offsetof(EMRPAINTRGN, RgnData)},
    {EMR_GDICOMMENT, offsetof(EMRGDICOMMENT, Data)},
    {EMR_BITBLT, sizeof(EMRBITBLT)},
    {EMR_STRETCHBLT, sizeof(EMRSTRETCHBLT)},
    {EMR_MASKBLT, sizeof(EMRMASKBLT)},
    {EMR_PLGBLT, sizeof(EMRPLGBLT)},
    {EMR_SETDIBITSTODEVICE, sizeof(EMRSETDIBITSTODEVICE)},
    {EMR_STRETCHDIBITS, sizeof(EMRSTRETCHDIBITS)},
    {EMR_ALPHABLEND, sizeof(EMRALPHABLEND)},
    {EMR_TRANSPARENTBLT, sizeof(EMRTRANSPARENTBLT)},
    {EMR_CREATEMONOBRUSH, sizeof(EMRCREATEMONOBRUSH)},
    {EMR_CREATEDIBPATTERNBRUSHPT, sizeof(EMRCREATEDIBPATTERNBRUSHPT)},
    {EMR_EXTTEXTOUTA, sizeof(EMREXTTEXTOUTA)},
    {EMR_EXTTEXTOUTW, sizeof(EMREXTTEXTOUTW)},
    {EMR_POLYGON, offsetof(EMRPOLYGON, aptl)},
    {EMR_POLYLINE, offsetof(EMRPOLYLINE, aptl)},
    {EMR_POLYBEZIER, offsetof(EMRPOLYBEZIER, aptl)},
    {EMR_POLYBEZIERTO, offsetof(EMRPOLYBEZIERTO, aptl)},
    {EMR_POLYLINETO, offsetof(EMRPOLYLINETO, aptl)},
    {EMR_POLYPOLYLINE, offsetof(EMRPOLYPOLYLINE, aPolyCounts)},
    {EMR_POLYPOLYGON, offsetof(EMRPOLYPOLYGON, aPolyCounts)},
    {EMR_POLYGON16, offsetof(EMRPOLYGON16, apts)},
    {EMR_POLYLINE16, offsetof(EMRPOLYLINE16, apts)},
    {EMR_POLYBEZIER16, offsetof(EMRPOLYBEZIER16, apts)},
    {EMR_POLYBEZIERTO16, offsetof(EMRPOLYBEZIERTO16, apts)},
    {EMR_POLYLINETO16, offsetof(EMRPOLYLINETO16, apts)},
    {EMR_POLYPOLYLINE16, offsetof(EMRPOLYPOLYLINE16, aPolyCounts)},
    {EMR_POLYPOLYGON16, offsetof(EMRPOLYPOLYGON16, aPolyCounts)},
    {EMR_POLYDRAW, offsetof(EMRPOLYDRAW, aptl)},
    {EMR_POLYDRAW16, offsetof(EMRPOLYDRAW16, apts)},
};

bool ValidEmfRecord(DWORD type, const EmfRecord& r) {
    for (const MinSize& min : kMinSizes)
        if (min.type == type && !r.Has(min.size)) return false;
    switch (type) {
    case EMR_CREATEPEN:
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_RESIZEPALETTE:
        return r.Object(8, false);
    case EMR_CREATEPALETTE: {
        const size_t entries = offsetof(EMRCREATEPALETTE, lgpl) + offsetof(LOGPALETTE, palPalEntry);
        return r.Object(8, false) && r.Has(entries + 4ull * (r.At(offsetof(EMRCREATEPALETTE, lgpl)) >> 16));
    }
    case EMR_SETPALETTEENTRIES:
        return r.Object(8, false) && r.Has(offsetof(EMRSETPALETTEENTRIES, aPalEntries) +
                                           4ull * r.At(offsetof(EMRSETPALETTEENTRIES, cEntries)));
    case EMR_SELECTOBJECT:
    case EMR_DELETEOBJECT:
    case EMR_SELECTPALETTE:
        return r.Object(8, type != EMR_DELETEOBJECT);
    case EMR_EXTCREATEPEN:
        return r.Object(8, false) && r.Dib(offsetof(EMREXTCREATEPEN, offBmi)) &&
               r.Has(offsetof(EMREXTCREATEPEN, elp.elpStyleEntry) +
                     4ull * r.At(offsetof(EMREXTCREATEPEN, elp.elpNumEntries)));
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        return r.Object(8, false) && r.Dib(offsetof(EMRCREATEDIBPATTERNBRUSHPT, offBmi), false);
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT:
        return r.Dib(offsetof(EMRBITBLT, offBmiSrc));
    case EMR_MASKBLT:
        return r.Dib(offsetof(EMRMASKBLT, offBmiSrc)) && r.Dib(offsetof(EMRMASKBLT, offBmiMask));
    case EMR_PLGBLT:
        return r.Dib(offsetof(EMRPLGBLT, offBmiSrc)) && r.Dib(offsetof(EMRPLGBLT, offBmiMask));
    case EMR_SETDIBITSTODEVICE:
        return r.Dib(offsetof(EMRSETDIBITSTODEVICE, offBmiSrc), false);
    case EMR_STRETCHDIBITS:
        return r.Dib(offsetof(EMRSTRETCHDIBITS, offBmiSrc));
    case EMR_EXTSELECTCLIPRGN:
        return r.At(offsetof(EMREXTSELECTCLIPRGN, cbRgnData)) == 0 ||
               r.Region(offsetof(EMREXTSELECTCLIPRGN, cbRgnData), offsetof(EMREXTSELECTCLIPRGN, RgnData));
    case EMR_FILLRGN:
    case EMR_FRAMERGN:
        return r.Object(offsetof(EMRFILLRGN, ihBrush), true) &&
               r.Region(offsetof(EMRFILLRGN, cbRgnData), offsetof(EMRFILLRGN, RgnData));
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
        return r.Region(offsetof(EMRINVERTRGN, cbRgnData), offsetof(EMRINVERTRGN, RgnData));
    case EMR_GDICOMMENT:
        return r.Has(offsetof(EMRGDICOMMENT, Data) +
                     static_cast<uint64_t>(r.At(offsetof(EMRGDICOMMENT, cbData))));
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        return r.Text(offsetof(EMREXTTEXTOUTW, emrtext), type == EMR_EXTTEXTOUTW ? 2 : 1);
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
        return r.Points(offsetof(EMRPOLYLINE, cptl), 8);
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        return r.Points(offsetof(EMRPOLYLINE16, cpts), 4);
    case EMR_POLYDRAW:
        return r.Points(offsetof(EMRPOLYDRAW, cptl), 8, 1);
    case EMR_POLYDRAW16:
        return r.Points(offsetof(EMRPOLYDRAW16, cpts), 4, 1);
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
        return r.PolyPoly(8);
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
        return r.PolyPoly(4);
    case EMR_POLYTEXTOUTA: // several texts in one record: not taken
    case EMR_POLYTEXTOUTW:
    case kEmrSmallTextOut: // the compact text record: not taken either
        return false;
    default:
        return true;
    }
}

} // namespace

bool ValidWindowsMetafile(std::span<const BYTE> data) {
    METAHEADER header{};
    if (!ReadAt(data, 0, header) || (header.mtType != 1 && header.mtType != 2) ||
        header.mtHeaderSize != sizeof(METAHEADER) / 2 || header.mtSize < header.mtHeaderSize ||
        static_cast<uint64_t>(header.mtSize) * 2 > data.size())
        return false;
    const size_t end = static_cast<size_t>(header.mtSize) * 2;
    size_t at = sizeof(METAHEADER);
    while (end - at >= 6) {
        DWORD words = 0;
        WORD function = 0;
        ReadAt(data, at, words);
        ReadAt(data, at + 4, function);
        if (words < 3 || words > (end - at) / 2) return false;
        if (function == 0) return true; // the end-of-file record
        if (!ValidWmfRecord(function, WmfRecord(data.subspan(at + 6, words * 2 - 6), header.mtNoObjects)))
            return false;
        at += static_cast<size_t>(words) * 2;
    }
    return false;
}

bool ValidEnhancedMetafile(std::span<const BYTE> data) {
    // The header's fixed part, before the fields later versions added.
    ENHMETAHEADER header{};
    const size_t fixed = offsetof(ENHMETAHEADER, cbPixelFormat);
    if (data.size() < fixed) return false;
    std::memcpy(&header, data.data(), fixed);
    if (header.iType != EMR_HEADER || header.dSignature != ENHMETA_SIGNATURE || header.nSize < fixed ||
        header.nSize % 4 != 0 || header.nBytes > data.size() || header.nSize > header.nBytes ||
        header.nHandles == 0 ||
        static_cast<uint64_t>(header.offDescription) + header.nDescription * 2ull > header.nSize)
        return false;
    const std::span<const BYTE> file = data.first(header.nBytes);
    size_t at = header.nSize;
    while (file.size() - at >= 8) {
        DWORD type = 0, size = 0;
        ReadAt(file, at, type);
        ReadAt(file, at + 4, size);
        if (size < 8 || size % 4 != 0 || size > file.size() - at || type == EMR_HEADER) return false;
        if (type == EMR_EOF) return at + size == file.size();
        if (!ValidEmfRecord(type, EmfRecord(file.subspan(at, size), header.nHandles))) return false;
        at += size;
    }
    return false;
}
