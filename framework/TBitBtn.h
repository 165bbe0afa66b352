#pragma once
// A push button that draws a picture beside its caption in its own font. The
// picture holds NumGlyphs frames side by side: the normal one, then the one
// for a disabled button; its bottom-left pixel's colour is transparent.
// Default, cancel, modal result and clicks are those of every push button.
#include "framework/Handle.h"
#include "framework/StdCtrls.h"

#include <string>

class TBitBtn : public TButton {
  public:
    TBitBtn(TComponent* owner, TWinControl& parent, const std::wstring& caption, int left, int top, int width,
            int height);

    void SetGlyph(UniqueBitmap glyph, int numGlyphs = 2);
    HBITMAP Glyph() const { return glyph_.get(); }

  protected:
    bool HandleDrawItem(DRAWITEMSTRUCT& item) override;

  private:
    void DrawGlyphAndCaption(HDC dc, RECT area, bool enabled, bool pushed);

    UniqueBitmap glyph_;
    int numGlyphs_ = 1;
};
