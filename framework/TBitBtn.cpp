#include "framework/TBitBtn.h"

#include <algorithm>

TBitBtn::TBitBtn(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top,
                 int width, int height)
    : TButton(owner, parent, caption, BS_OWNERDRAW, left, top, width, height) {}

void TBitBtn::SetGlyph(UniqueBitmap glyph, int numGlyphs) {
    glyph_ = std::move(glyph);
    numGlyphs_ = std::max(1, numGlyphs);
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TBitBtn::HandleDrawItem(DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    bool pushed = item.itemState & ODS_SELECTED;
    bool focused = item.itemState & ODS_FOCUS;
    // The default button (and the one with the focus) wears a dark outline.
    if (Default() || focused) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
    DrawGlyphAndCaption(dc, r, !(item.itemState & ODS_DISABLED), pushed);
    if (focused) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    return true;
}

void TBitBtn::DrawGlyphAndCaption(HDC dc, RECT area, bool enabled, bool pushed) {
    BITMAP bm{};
    if (glyph_) GetObjectW(glyph_.get(), sizeof(bm), &bm);
    int glyphWidth = glyph_ ? bm.bmWidth / numGlyphs_ : 0;
    int glyphHeight = glyph_ ? bm.bmHeight : 0;

    HFONT font = Font() ? Font() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectGuard select(dc, font);
    std::wstring caption = Text();
    RECT textSize{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), -1, &textSize, DT_CALCRECT | DT_SINGLELINE);
    const int spacing = glyph_ && !caption.empty() ? 4 : 0;
    int total = glyphWidth + spacing + textSize.right;
    int shift = pushed ? 1 : 0;
    int x = (area.left + area.right - total) / 2 + shift;
    int midY = (area.top + area.bottom) / 2 + shift;

    if (glyph_) {
        UniqueDC memory{CreateCompatibleDC(dc)};
        SelectGuard selectGlyph(memory.get(), glyph_.get());
        int frame = !enabled && numGlyphs_ > 1 ? 1 : 0;
        COLORREF transparent = GetPixel(memory.get(), 0, bm.bmHeight - 1);
        TransparentBlt(dc, x, midY - glyphHeight / 2, glyphWidth, glyphHeight, memory.get(), frame * glyphWidth, 0,
                       glyphWidth, glyphHeight, transparent);
    }
    RECT text{x + glyphWidth + spacing, midY - textSize.bottom / 2, x + total, midY - textSize.bottom / 2 + textSize.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_LEFT | DT_TOP);
}
