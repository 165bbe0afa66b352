#pragma once
// Owner-drawn menus: every item of a menu is drawn by this component, with an
// image box at the left (the item's image or check mark), the caption and the
// shortcut text in the component's fonts, optional tiled background pictures,
// and two styles: Office (flat, raised and sunken image boxes) and Windows
// (plain highlight bars). TMainCool hooks a form and feeds it the messages.
#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/TComponent.h"
#include "widgets/TItemImages.h"

#include <functional>
#include <memory>
#include <string>

class TImageList;
class TMenuItem;
class THintWindow;

// A colour, or a system colour index with the top bit set.
using TColor = DWORD;
constexpr TColor SysColor(int index) {
    return 0x80000000u | static_cast<DWORD>(index);
}
COLORREF ColorToRGB(TColor color);

struct TMenuFont {
    std::wstring Name;
    int Height = 0;
    BYTE CharSet = DEFAULT_CHARSET;
    bool Bold = false;
    bool Italic = false;
    TColor Color = SysColor(COLOR_MENUTEXT);
};

// The font of menus from the non-client metrics, in the given colour.
TMenuFont SystemMenuFont(TColor color);

// A device context with the brush and font an item is drawn with.
struct TMenuCanvas {
    explicit TMenuCanvas(HDC dc = nullptr, TColor brush = SysColor(COLOR_MENU)) : Handle(dc), BrushColor(brush) {}
    HDC Handle;
    TColor BrushColor;
    HBRUSH Pattern = nullptr;
    bool BrushClear = false;
    TMenuFont Font;

    void FillRect(const RECT& rect) const;
    // Text in the canvas font (bold when asked) and the given colour.
    void Text(const std::wstring& text, RECT rect, UINT format, COLORREF color, bool bold = false) const;
    SIZE TextExtent(const std::wstring& text, UINT format) const;
};

enum class TMenuStyle { msOffice, msWindows };

class ECoolMenuError : public Exception {
    using Exception::Exception;
};

class TCoolMenu : public TComponent {
  public:
    explicit TCoolMenu(TComponent* owner);
    ~TCoolMenu() override;

    TMenuFont ActiveFont;
    TColor ActiveColor = SysColor(COLOR_HIGHLIGHT);
    TMenuFont InActiveFont;
    TColor InActiveColor = SysColor(COLOR_MENU);
    HCURSOR Cursor;
    TMenuStyle MenuStyle = TMenuStyle::msOffice;
    bool ShowHint = false;
    TItemImages ItemImages;

    std::function<void(TComponent& menu, TMenuItem& item, const RECT& rect, UINT state)> OnDrawItem;
    std::function<void(TComponent& menu, TMenuItem* item, int& height)> OnMeasureItem;
    std::function<void(TMenuItem& item, const std::wstring& hint)> OnMenuSelect;

    HBITMAP ActiveBitmap() const { return activeBitmap_.get(); }
    void SetActiveBitmap(HBITMAP bitmap);
    HBITMAP InActiveBitmap() const { return inActiveBitmap_.get(); }
    void SetInActiveBitmap(HBITMAP bitmap);
    bool DefaultFont() const { return defaultFont_; }
    virtual void SetDefaultFont(bool value) { defaultFont_ = value; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    bool LargeImage() const { return largeImage_; }
    void SetLargeImage(bool value);
    // A TMainMenu or a TPopupMenu.
    TComponent* Menu() const { return menu_; }
    void SetMenu(TComponent* menu);
    // Adds an item-image entry and follows the item's removal.
    TItemImage& AddItemImage(TMenuItem& item, int imageIndex, const std::wstring& hint = L"");

    int ImageIndexOf(const TMenuItem& item) const;
    std::wstring HintOf(const TMenuItem& item) const;
    // Registers the item and all its sub-items as owner-drawn.
    void ApplyOwnerDraw(TMenuItem& item);
    // Every item of Menu.
    void ApplyOwnerDrawAll();

    // WM_MEASUREITEM and WM_DRAWITEM of an item whose data names this component.
    LRESULT MeasureItemMessage(MEASUREITEMSTRUCT& measure);
    LRESULT DrawItemMessage(const DRAWITEMSTRUCT& draw);
    // The component an item's data names, when it is a living one.
    static TCoolMenu* FromItemData(ULONG_PTR data);

    void Loaded() override;
    void Notification(TComponent& component, TOperation operation) override;

  protected:
    virtual void DrawItem(UINT id, UINT state, const RECT& rect);
    virtual void MeasureItem(UINT id, int& height);
    virtual void MenuSelect(TMenuItem& item, const std::wstring& hint);
    virtual void ShowItemHint(const std::wstring& text);
    virtual void DrawDisabledImage(TMenuItem& item, TMenuCanvas& canvas, UINT state, const RECT& imageRect);
    virtual void DrawSeparator(TMenuCanvas& canvas, const RECT& rect);
    virtual void DrawCaption(TMenuItem& item, TMenuCanvas& canvas, UINT state, const RECT& rect);
    virtual void DrawFrame(TMenuItem& item, TMenuCanvas& canvas, UINT state, const RECT& rect);
    virtual void DrawGlyph(TMenuItem& item, TMenuCanvas& canvas, UINT state, const RECT& rect);

    void HideItemHint();
    // A menu bar's item in its flat look, through the given DC.
    void DrawBarItemFlat(HDC dc, const RECT& rect, const std::wstring& caption);
    HMENU MenuHandle() const;
    bool IsMainMenu() const;
    // The root items of Menu.
    const std::vector<TMenuItem*>* RootItems() const;
    TMenuFont FontFor(bool selected) const;

    bool menuLoop_ = false;
    int hot_ = -1;
    int previousHot_ = -1;
    RECT hintRect_{};
    HCURSOR loadedCursor_ = nullptr;
    TMenuCanvas canvas_;

  private:
    // Copies the same rectangle of a tiled buffer, or fills it without one.
    void BackgroundFrom(HBITMAP buffer, const RECT& rect);
    void DrawImage(TMenuItem& item, HDC dc, int x, int y);
    void DrawCheck(HDC dc, const RECT& imageRect, bool enabled);
    static void RebuildTiles(HBITMAP picture, UniqueBitmap& buffer);
    static void SunkenFrame(HDC dc, RECT box);
    int ImageSize() const { return largeImage_ ? 32 : 16; }

    UniqueBitmap activeBitmap_, inActiveBitmap_;
    UniqueBitmap activeTiles_, inActiveTiles_;
    bool defaultFont_ = false;
    TImageList* images_ = nullptr;
    int itemHeight_ = 20;
    bool largeImage_ = false;
    TComponent* menu_ = nullptr;
    std::unique_ptr<THintWindow> hint_;
};
