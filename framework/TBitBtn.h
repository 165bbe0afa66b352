#pragma once
// A push button that shows a picture beside its caption. The picture holds
// NumGlyphs frames side by side: the normal one, then the one for a disabled
// button; its bottom-left pixel's colour is transparent. The default button
// answers to Enter, the cancel button to Escape (in a modal form).
#include "framework/Handle.h"
#include "framework/TWinControl.h"

#include <functional>
#include <string>

class TBitBtn : public TWinControl {
  public:
    TBitBtn(TComponent* owner, TWinControl& parent);

    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& caption);
    void SetFont(const std::wstring& face, int height, bool bold = false);
    void SetGlyph(UniqueBitmap glyph, int numGlyphs = 2);
    HBITMAP Glyph() const { return glyph_.get(); }
    bool Default = false;
    bool Cancel = false;

    std::function<void()> OnClick;
    void Click();

    bool DialogKey(WPARAM key) override;

  protected:
    bool HandleCommand(WORD id, WORD code) override;
    bool HandleDrawItem(DRAWITEMSTRUCT& item) override;

  private:
    void DrawGlyphAndCaption(HDC dc, RECT area, bool enabled, bool pushed);

    UniqueFont font_;
    UniqueBitmap glyph_;
    int numGlyphs_ = 1;
};
