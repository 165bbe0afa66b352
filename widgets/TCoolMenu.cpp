#include "widgets/TCoolMenu.h"

#include "framework/TApplication.h"
#include "framework/THintWindow.h"
#include "framework/TImageList.h"
#include "framework/TMenu.h"

#include <algorithm>
#include <cstddef>
#include <set>

namespace {
// The living components, so that an item's data is trusted only when it names one.
std::set<const TCoolMenu*>& Living() {
    static std::set<const TCoolMenu*> living;
    return living;
}

// The pattern and the two check marks, shared by every component and made on
// first use; any component's destruction frees them.
struct SharedBitmaps {
    UniqueBitmap pattern, check, checkMono;
    UniqueBrush patternBrush;
};
SharedBitmaps& Shared() {
    static SharedBitmaps shared;
    return shared;
}

HBRUSH PatternBrush() {
    SharedBitmaps& s = Shared();
    if (!s.patternBrush) {
        UniqueDC dc(CreateCompatibleDC(nullptr));
        WindowDC screen(nullptr);
        s.pattern.reset(CreateCompatibleBitmap(screen.get(), 8, 8));
        SelectGuard select(dc.get(), s.pattern.get());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                SetPixel(dc.get(), x, y, (x % 2) == (y % 2) ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNFACE));
        s.patternBrush.reset(CreatePatternBrush(s.pattern.get()));
    }
    return s.patternBrush.get();
}

HBITMAP CheckBitmap(bool enabled) {
    SharedBitmaps& s = Shared();
    UniqueBitmap& bitmap = enabled ? s.check : s.checkMono;
    if (!bitmap)
        bitmap.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), enabled ? L"CHECK" : L"CHECKMONO",
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return bitmap.get();
}

const UINT kMeasureFormat = DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
const UINT kBarFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
const int kTileWidth = 400;
const int kTileHeight = 600;

UniqueFont MakeFont(const TMenuFont& font, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = font.Height;
    lf.lfWeight = (font.Bold || bold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Italic;
    lf.lfCharSet = font.CharSet;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    wcsncpy(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&lf));
}

bool Disabled(UINT state) {
    return (state & (ODS_DISABLED | ODS_GRAYED)) != 0;
}
} // namespace

COLORREF ColorToRGB(TColor color) {
    return (color & 0x80000000u) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

TMenuFont SystemMenuFont(TColor color) {
    // The size without the padded border width, as the oldest systems know it.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    TMenuFont font;
    font.Name = metrics.lfMenuFont.lfFaceName;
    font.Height = metrics.lfMenuFont.lfHeight;
    font.Italic = metrics.lfMenuFont.lfItalic != 0;
    font.Bold = metrics.lfMenuFont.lfWeight > 500;
    font.Color = color;
    return font;
}

void TMenuCanvas::FillRect(const RECT& rect) const {
    if (BrushClear) return;
    if (Pattern) {
        ::FillRect(Handle, &rect, Pattern);
        return;
    }
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(BrushColor)));
    ::FillRect(Handle, &rect, brush.get());
}

void TMenuCanvas::Text(const std::wstring& text, RECT rect, UINT format, COLORREF color, bool bold) const {
    UniqueFont font = MakeFont(Font, bold);
    SelectGuard select(Handle, font.get());
    SetBkMode(Handle, TRANSPARENT);
    SetTextColor(Handle, color);
    DrawTextW(Handle, text.c_str(), -1, &rect, format);
}

SIZE TMenuCanvas::TextExtent(const std::wstring& text, UINT format) const {
    UniqueFont font = MakeFont(Font, false);
    SelectGuard select(Handle, font.get());
    RECT rect{};
    DrawTextW(Handle, text.c_str(), -1, &rect, format | DT_CALCRECT);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

TCoolMenu::TCoolMenu(TComponent* owner)
    : TComponent(owner), Cursor(LoadCursorW(nullptr, IDC_ARROW)), hint_(std::make_unique<THintWindow>(nullptr)) {
    ActiveFont = SystemMenuFont(SysColor(COLOR_HIGHLIGHTTEXT));
    InActiveFont = SystemMenuFont(SysColor(COLOR_MENUTEXT));
    Living().insert(this);
}

TCoolMenu::~TCoolMenu() {
    Living().erase(this);
    hint_.reset();
    Shared() = SharedBitmaps{};
}

TCoolMenu* TCoolMenu::FromItemData(ULONG_PTR data) {
    auto* menu = reinterpret_cast<TCoolMenu*>(data);
    return Living().contains(menu) ? menu : nullptr;
}

void TCoolMenu::SetActiveBitmap(HBITMAP bitmap) {
    activeBitmap_.reset(bitmap ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr);
    RebuildTiles(activeBitmap_.get(), activeTiles_);
}

void TCoolMenu::SetInActiveBitmap(HBITMAP bitmap) {
    inActiveBitmap_.reset(bitmap ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr);
    RebuildTiles(inActiveBitmap_.get(), inActiveTiles_);
}

void TCoolMenu::RebuildTiles(HBITMAP picture, UniqueBitmap& buffer) {
    if (!picture) {
        buffer.reset();
        return;
    }
    BITMAP info{};
    GetObjectW(picture, sizeof(info), &info);
    if (info.bmWidth <= 0 || info.bmHeight <= 0) return;
    WindowDC screen(nullptr);
    if (!buffer) buffer.reset(CreateCompatibleBitmap(screen.get(), kTileWidth, kTileHeight));
    UniqueDC target(CreateCompatibleDC(screen.get())), source(CreateCompatibleDC(screen.get()));
    SelectGuard selectTarget(target.get(), buffer.get());
    SelectGuard selectSource(source.get(), picture);
    const int w = info.bmWidth, h = info.bmHeight;
    for (int i = 1; i <= kTileWidth / w + 1; ++i)
        for (int j = 1; j <= kTileHeight / h + 1; ++j)
            BitBlt(target.get(), w * (i - 1), h * (j - 1), w, h, source.get(), 0, 0, SRCCOPY);
}

void TCoolMenu::SetImages(TImageList* images) {
    if (images == images_) return;
    if (images_) RemoveFreeNotification(*images_);
    images_ = images;
    if (images_)
        images_->FreeNotification(*this);
    else
        ItemImages.ForgetAllImages();
}

void TCoolMenu::SetItemHeight(int height) {
    if (height < 18 || (largeImage_ && height < 34)) return;
    itemHeight_ = height;
    ApplyOwnerDrawAll();
}

void TCoolMenu::SetLargeImage(bool value) {
    largeImage_ = value;
    if (largeImage_ && itemHeight_ < 34) SetItemHeight(34);
    ApplyOwnerDrawAll();
}

void TCoolMenu::SetMenu(TComponent* menu) {
    if (menu == menu_) return;
    if (menu_) RemoveFreeNotification(*menu_);
    menu_ = menu;
    if (!menu_) {
        ItemImages.ForgetAllItems();
        return;
    }
    menu_->FreeNotification(*this);
    ApplyOwnerDrawAll();
}

TItemImage& TCoolMenu::AddItemImage(TMenuItem& item, int imageIndex, const std::wstring& hint) {
    item.FreeNotification(*this);
    return ItemImages.Add(item, imageIndex, hint);
}

const std::vector<TMenuItem*>* TCoolMenu::RootItems() const {
    if (auto* bar = dynamic_cast<TMainMenu*>(menu_)) return &bar->Items();
    if (auto* popup = dynamic_cast<TPopupMenu*>(menu_)) return &popup->Items();
    return nullptr;
}

HMENU TCoolMenu::MenuHandle() const {
    if (auto* bar = dynamic_cast<TMainMenu*>(menu_)) return bar->Handle();
    if (auto* popup = dynamic_cast<TPopupMenu*>(menu_)) return popup->Handle();
    return nullptr;
}

bool TCoolMenu::IsMainMenu() const {
    return dynamic_cast<TMainMenu*>(menu_) != nullptr;
}

int TCoolMenu::ImageIndexOf(const TMenuItem& item) const {
    if (!images_) return -1;
    const TItemImage* entry = ItemImages.Find(item);
    return entry ? entry->ImageIndex() : -1;
}

std::wstring TCoolMenu::HintOf(const TMenuItem& item) const {
    const TItemImage* entry = ItemImages.Find(item);
    return entry ? entry->Hint : std::wstring();
}

void TCoolMenu::ApplyOwnerDraw(TMenuItem& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    info.fType = MFT_OWNERDRAW | (item.RadioItem() ? MFT_RADIOCHECK : 0u) |
                 (item.Caption() == L"-" ? MFT_SEPARATOR : 0u) |
                 (item.Break() == TMenuBreak::Break ? MFT_MENUBREAK : 0u) |
                 (item.Break() == TMenuBreak::BarBreak ? MFT_MENUBARBREAK : 0u);
    info.fState = (item.Checked() ? MFS_CHECKED : 0u) | (item.Enabled() ? 0u : MFS_DISABLED) |
                  (item.Default() ? MFS_DEFAULT : 0u);
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    if (!SetMenuItemInfoW(item.ParentMenu(), item.MenuIndex(), TRUE, &info))
        throw ECoolMenuError(item.Caption() + L" のオーナードローに失敗しました");
    for (TMenuItem* sub : item.Items())
        ApplyOwnerDraw(*sub);
}

void TCoolMenu::ApplyOwnerDrawAll() {
    if (Loading()) return;
    if (const auto* items = RootItems())
        for (TMenuItem* item : *items)
            ApplyOwnerDraw(*item);
}

void TCoolMenu::Loaded() {
    loadedCursor_ = GetCursor();
    ApplyOwnerDrawAll();
    RebuildTiles(activeBitmap_.get(), activeTiles_);
    RebuildTiles(inActiveBitmap_.get(), inActiveTiles_);
}

void TCoolMenu::Notification(TComponent& component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::Remove) return;
    if (&component == menu_) {
        menu_ = nullptr;
        ItemImages.ForgetAllItems();
    } else if (&component == images_) {
        images_ = nullptr;
        ItemImages.ForgetAllImages();
    } else {
        ItemImages.ForgetItem(&component);
    }
}

TMenuFont TCoolMenu::FontFor(bool selected) const {
    const TMenuFont& font = selected ? ActiveFont : InActiveFont;
    return defaultFont_ ? SystemMenuFont(font.Color) : font;
}

LRESULT TCoolMenu::MeasureItemMessage(MEASUREITEMSTRUCT& measure) {
    Guarded([&] {
        TMenuItem* item = TMenuItem::FindCommand(measure.itemID);
        if (!item) return;
        int height = item->Caption().starts_with(L"-") ? 10 : itemHeight_;
        WindowDC screen(nullptr);
        TMenuCanvas canvas(screen.get());
        canvas.Font = FontFor(true);
        const UINT format = kMeasureFormat & ~DT_CALCRECT;
        if (item->IsBarItem())
            measure.itemWidth = canvas.TextExtent(item->Caption(), format).cx;
        else
            measure.itemWidth = canvas.TextExtent(L" " + item->Caption() + item->ShortCutText(), format).cx +
                                itemHeight_ + 20;
        MeasureItem(measure.itemID, height);
        measure.itemHeight = height;
    });
    return 1;
}

void TCoolMenu::MeasureItem(UINT id, int& height) {
    if (OnMeasureItem && menu_) OnMeasureItem(*menu_, TMenuItem::FindCommand(id), height);
}

LRESULT TCoolMenu::DrawItemMessage(const DRAWITEMSTRUCT& draw) {
    HDC dc = draw.hDC;
    int saved = SaveDC(dc);
    Guarded([&] {
        canvas_ = TMenuCanvas(dc);
        if (static_cast<int>(draw.itemID) >= 0) {
            bool selected = draw.itemState & ODS_SELECTED;
            canvas_.BrushColor = selected ? ActiveColor : InActiveColor;
            canvas_.Font = FontFor(selected);
            DrawItem(draw.itemID, draw.itemState, draw.rcItem);
        } else {
            canvas_.FillRect(draw.rcItem);
        }
        if (draw.itemState & ODS_FOCUS) DrawFocusRect(dc, &draw.rcItem);
    });
    canvas_ = TMenuCanvas();
    RestoreDC(dc, saved);
    return 1;
}

void TCoolMenu::BackgroundFrom(HBITMAP buffer, const RECT& rect) {
    if (!buffer) {
        canvas_.FillRect(rect);
        return;
    }
    UniqueDC source(CreateCompatibleDC(canvas_.Handle));
    SelectGuard select(source.get(), buffer);
    BitBlt(canvas_.Handle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.get(),
           rect.left, rect.top, SRCCOPY);
}

void TCoolMenu::DrawItem(UINT id, UINT state, const RECT& rect) {
    TMenuItem* item = TMenuItem::FindCommand(id);
    if (!item) return;
    RECT textRect = rect;
    textRect.left = itemHeight_ + 1;
    if (OnDrawItem) {
        OnDrawItem(*menu_, *item, rect, state);
        return;
    }
    const bool selected = state & ODS_SELECTED;
    const bool disabled = Disabled(state);
    HBITMAP inActiveTiles = inActiveBitmap_ ? inActiveTiles_.get() : nullptr;
    HBITMAP activeTiles = activeBitmap_ ? activeTiles_.get() : nullptr;
    if (item->Caption().starts_with(L"-")) {
        BackgroundFrom(inActiveTiles, rect);
        DrawSeparator(canvas_, rect);
        return;
    }
    const bool bar = item->IsBarItem() || !menu_;
    if (MenuStyle == TMenuStyle::msOffice) {
        if (bar) {
            canvas_.BrushColor = SysColor(COLOR_MENU);
            if (menuLoop_) canvas_.FillRect(rect);
        } else if (!selected) {
            BackgroundFrom(inActiveTiles, rect);
        } else if (disabled) {
            canvas_.BrushColor = InActiveColor;
            BackgroundFrom(inActiveTiles, rect);
        } else if (ImageIndexOf(*item) == -1) {
            BackgroundFrom(activeTiles, activeTiles || !item->Checked() ? rect : textRect);
        } else {
            BackgroundFrom(activeTiles, activeTiles ? rect : textRect);
        }
    } else if (bar) {
        canvas_.BrushColor = selected ? ActiveColor : SysColor(COLOR_MENU);
        canvas_.FillRect(rect);
    } else {
        BackgroundFrom(selected ? activeTiles : inActiveTiles, rect);
    }
    DrawFrame(*item, canvas_, state, rect);
    DrawGlyph(*item, canvas_, state, rect);
    DrawCaption(*item, canvas_, state, rect);
}

void TCoolMenu::SunkenFrame(HDC dc, RECT box) {
    DrawEdge(dc, &box, BDR_SUNKENINNER, BF_SOFT | BF_TOPLEFT);
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_BOTTOMRIGHT);
}

void TCoolMenu::DrawFrame(TMenuItem& item, TMenuCanvas& canvas, UINT state, const RECT& rect) {
    const bool selected = state & ODS_SELECTED;
    const bool enabled = !Disabled(state);
    if (item.IsBarItem()) {
        if (MenuStyle == TMenuStyle::msOffice && selected && enabled) SunkenFrame(canvas.Handle, rect);
        return;
    }
    RECT box = rect;
    box.right = box.left + itemHeight_;
    if (MenuStyle == TMenuStyle::msOffice && selected && enabled && !item.Checked() && ImageIndexOf(item) >= 0) {
        DrawEdge(canvas.Handle, &box, BDR_RAISEDINNER, BF_TOPLEFT);
        DrawEdge(canvas.Handle, &box, BDR_RAISEDINNER, BF_SOFT | BF_BOTTOMRIGHT);
    }
}

void TCoolMenu::DrawImage(TMenuItem& item, HDC dc, int x, int y) {
    int index = ImageIndexOf(item);
    if (index < 0 || !images_) return;
    if (!largeImage_) {
        ImageList_Draw(images_->Handle(), index, dc, x, y, ILD_NORMAL);
        return;
    }
    UniqueIcon icon(ImageList_GetIcon(images_->Handle(), index, ILD_NORMAL));
    DrawIconEx(dc, x, y, icon.get(), 32, 32, 0, nullptr, DI_NORMAL);
}

void TCoolMenu::DrawCheck(HDC dc, const RECT& imageRect, bool enabled) {
    HBITMAP check = CheckBitmap(enabled);
    if (!check) return;
    UniqueDC source(CreateCompatibleDC(dc));
    SelectGuard select(source.get(), check);
    TransparentBlt(dc, imageRect.left, imageRect.top, 16, 16, source.get(), 0, 0, 16, 16, RGB(128, 0, 128));
}

void TCoolMenu::DrawGlyph(TMenuItem& item, TMenuCanvas& canvas, UINT state, const RECT& rect) {
    if (item.IsBarItem()) return;
    const bool selected = state & ODS_SELECTED;
    const bool enabled = !Disabled(state);
    RECT box = rect;
    box.right = box.left + itemHeight_;
    const int size = ImageSize();
    RECT image{box.left + (itemHeight_ - size) / 2, box.top + (box.bottom - box.top - size) / 2, 0, 0};
    image.right = image.left + size;
    image.bottom = image.top + size;
    const bool hasImage = ImageIndexOf(item) >= 0;
    if (!item.Checked()) {
        if (!images_) return;
        if (!enabled)
            DrawDisabledImage(item, canvas, state, image);
        else if (hasImage)
            DrawImage(item, canvas.Handle, image.left, image.top);
        return;
    }
    if (MenuStyle == TMenuStyle::msWindows) {
        DrawCheck(canvas.Handle, image, enabled);
        return;
    }
    TMenuCanvas boxCanvas = canvas;
    boxCanvas.BrushClear = false;
    boxCanvas.BrushColor = InActiveColor;
    boxCanvas.Pattern = selected ? nullptr : PatternBrush();
    boxCanvas.FillRect(box);
    if (enabled && hasImage)
        DrawImage(item, canvas.Handle, image.left, image.top);
    else if (enabled)
        DrawCheck(canvas.Handle, image, true);
    else if (hasImage)
        DrawDisabledImage(item, canvas, state, image);
    else
        DrawCheck(canvas.Handle, image, false);
    SunkenFrame(canvas.Handle, box);
}

void TCoolMenu::DrawDisabledImage(TMenuItem& item, TMenuCanvas& canvas, UINT, const RECT& imageRect) {
    int index = ImageIndexOf(item);
    if (index < 0 || !images_) return;
    const int size = ImageSize();
    HDC dc = canvas.Handle;
    // The image on white, turned monochrome: white stays white, the rest black.
    UniqueDC colourDC(CreateCompatibleDC(dc)), monoDC(CreateCompatibleDC(dc));
    UniqueBitmap colour(CreateCompatibleBitmap(dc, size, size));
    UniqueBitmap mono(CreateBitmap(size, size, 1, 1, nullptr));
    {
        SelectGuard select(colourDC.get(), colour.get());
        RECT all{0, 0, size, size};
        ::FillRect(colourDC.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawImage(item, colourDC.get(), 0, 0);
        SelectGuard selectMono(monoDC.get(), mono.get());
        SetBkColor(colourDC.get(), RGB(255, 255, 255));
        BitBlt(monoDC.get(), 0, 0, size, size, colourDC.get(), 0, 0, SRCCOPY);
    }
    SelectGuard selectMono(monoDC.get(), mono.get());
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    // The brush goes where the mask is black: highlight below right, shadow in place.
    const DWORD kBrushWhereBlack = 0xE20746;
    {
        SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        BitBlt(dc, imageRect.left + 1, imageRect.top + 1, size, size, monoDC.get(), 0, 0, kBrushWhereBlack);
    }
    {
        SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNSHADOW));
        BitBlt(dc, imageRect.left, imageRect.top, size, size, monoDC.get(), 0, 0, kBrushWhereBlack);
    }
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

void TCoolMenu::DrawSeparator(TMenuCanvas& canvas, const RECT& rect) {
    const int y = rect.top + (rect.bottom - rect.top) / 2;
    auto line = [&](int at, int colour) {
        UniquePen pen(CreatePen(PS_SOLID, 1, GetSysColor(colour)));
        SelectGuard select(canvas.Handle, pen.get());
        MoveToEx(canvas.Handle, rect.left + 1, at, nullptr);
        LineTo(canvas.Handle, rect.right - 1, at);
    };
    line(y, COLOR_GRAYTEXT);
    line(y + 1, COLOR_BTNHIGHLIGHT);
}

void TCoolMenu::DrawCaption(TMenuItem& item, TMenuCanvas& canvas, UINT state, const RECT& rect) {
    canvas.Pattern = nullptr;
    canvas.BrushClear = true;
    const bool selected = state & ODS_SELECTED;
    const bool enabled = !Disabled(state);
    const bool office = MenuStyle == TMenuStyle::msOffice;
    RECT r = rect;
    if (item.IsBarItem()) {
        if (!enabled) {
            RECT shifted = r;
            OffsetRect(&shifted, 1, 1);
            canvas.Text(item.Caption(), shifted, kBarFormat, RGB(255, 255, 255));
            canvas.Text(item.Caption(), r, kBarFormat, RGB(128, 128, 128));
            return;
        }
        COLORREF colour = ColorToRGB(InActiveFont.Color);
        if (selected && office) {
            OffsetRect(&r, 1, 1);
        } else if (!selected && office && item.MenuIndex() == hot_) {
            canvas.Font.Bold = ActiveFont.Bold;
            canvas.Font.Italic = ActiveFont.Italic;
        }
        if (!office && selected) colour = ColorToRGB(ActiveFont.Color);
        canvas.Text(item.Caption(), r, kBarFormat, colour);
        return;
    }
    const bool bold = item.Default();
    r.left = rect.left + itemHeight_ + 1;
    r.right -= 15;
    if (item.Caption() == L"-") return;
    const std::wstring caption = L" " + item.Caption();
    const UINT left = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
    const UINT right = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
    auto both = [&](const RECT& at, COLORREF colour) {
        canvas.Text(caption, at, left, colour, bold);
        canvas.Text(item.ShortCutText(), at, right, colour, bold);
    };
    if (enabled) {
        both(r, ColorToRGB(selected ? ActiveFont.Color : InActiveFont.Color));
        return;
    }
    if (!(selected && !office)) {
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        both(shifted, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    both(r, GetSysColor(COLOR_GRAYTEXT));
}

void TCoolMenu::DrawBarItemFlat(HDC dc, const RECT& rect, const std::wstring& caption) {
    TMenuCanvas canvas(dc, InActiveColor);
    canvas.Font = defaultFont_ ? SystemMenuFont(InActiveFont.Color) : InActiveFont;
    canvas.FillRect(rect);
    canvas.Text(caption, rect, kBarFormat, ColorToRGB(InActiveFont.Color));
}

void TCoolMenu::MenuSelect(TMenuItem& item, const std::wstring& hint) {
    if (OnMenuSelect) OnMenuSelect(item, hint);
}

void TCoolMenu::ShowItemHint(const std::wstring& text) {
    RECT rect = hint_->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), text);
    POINT cursor{};
    GetCursorPos(&cursor);
    OffsetRect(&rect, cursor.x, cursor.y + GetSystemMetrics(SM_CYCAPTION));
    hint_->ActivateHint(rect, text);
}

void TCoolMenu::HideItemHint() {
    hint_->ReleaseHandle();
}
