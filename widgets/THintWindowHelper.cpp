#include "widgets/THintWindowHelper.h"

#include "framework/Handle.h"
#include "framework/TApplication.h"
#include "widgets/TCoolHint.h"

#include <commctrl.h>

namespace {
bool OwnerDrawn(THintType type) {
    return type == THintType::htOwnerDraw || type == THintType::htOwnerDrawTransparent;
}
} // namespace

bool THintWindowHelper::IsToolTip(HWND wnd) {
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, static_cast<int>(std::size(name)));
    return lstrcmpiW(name, TOOLTIPS_CLASSW) == 0;
}

THintWindowHelper::THintWindowHelper(HWND toolTip) {
    hook_.Attach(toolTip, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return ToolTipProc(msg, wParam, lParam);
    });
}

THintWindowHelper::~THintWindowHelper() {
    if (HWND toolTip = hook_.Window()) SetWindowRgn(toolTip, nullptr, TRUE);
}

std::wstring THintWindowHelper::HintText(HWND toolTip) {
    // The tool tip answers with the text it shows now.
    wchar_t shown[1024] = {};
    if (GetWindowTextW(toolTip, shown, static_cast<int>(std::size(shown))) > 0) return shown;
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    if (!SendMessageW(toolTip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&info))) return {};
    wchar_t text[1024] = {};
    info.lpszText = text;
    SendMessageW(toolTip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
    return text;
}

HRGN THintWindowHelper::Shape(int type, int w, int h) {
    switch (static_cast<THintType>(type)) {
    case THintType::htBalloon: {
        // An ellipse with a tail pointing up at one third of the width.
        const POINT tail[] = {{w / 3, 0}, {w / 3, h / 2}, {w / 2, h / 2}};
        HRGN shape = CreatePolygonRgn(tail, 3, WINDING);
        UniqueRgn ellipse(CreateEllipticRgn(0, h / 4, w + 1, h + 1));
        CombineRgn(shape, shape, ellipse.get(), RGN_OR);
        return shape;
    }
    case THintType::htRoundRect:
        return CreateRoundRectRgn(0, 0, w + 1, h + 1, 6, 6);
    default:
        return nullptr;
    }
}

void THintWindowHelper::Activating(HWND wnd, WINDOWPOS& pos) {
    TCoolHint* hint = TCoolHint::Current();
    RECT r{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    const int width = r.right - r.left, height = r.bottom - r.top;
    switch (hint->HintType) {
    case THintType::htBalloon:
        r.left -= width / 2;
        r.bottom += height;
        break;
    case THintType::htRoundRect:
        InflateRect(&r, 2, 1);
        break;
    default:
        if (hint->OnActivate) hint->OnActivate(r, HintText(wnd));
        break;
    }
    pos.x = r.left;
    pos.y = r.top;
    pos.cx = r.right - r.left;
    pos.cy = r.bottom - r.top;
}

void THintWindowHelper::Reshape(HWND wnd) {
    // Outside the painted shape the screen beneath stays visible.
    RECT client;
    GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT window;
    GetWindowRect(wnd, &window);
    HRGN shape = Shape(static_cast<int>(TCoolHint::Current()->HintType), client.right - client.left,
                       client.bottom - client.top);
    if (shape) OffsetRgn(shape, client.left - window.left, client.top - window.top);
    SetWindowRgn(wnd, shape, FALSE);
}

bool THintWindowHelper::Paint(HWND wnd) {
    TCoolHint* hint = TCoolHint::Current();
    if (OwnerDrawn(hint->HintType) && !hint->OnPaint) return false;
    PaintGuard paint(wnd);
    HDC dc = paint.get();
    Guarded([&] {
        if (OwnerDrawn(hint->HintType)) {
            hint->OnPaint(wnd, dc);
            return;
        }
        RECT c;
        GetClientRect(wnd, &c);
        const int w = c.right - c.left, h = c.bottom - c.top;
        const std::wstring text = HintText(wnd);
        SelectGuard font(dc, reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
        SelectGuard brush(dc, GetSysColorBrush(COLOR_INFOBK));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        if (hint->HintType == THintType::htBalloon) {
            UniqueRgn shape(Shape(static_cast<int>(THintType::htBalloon), w - 1, h - 1));
            FillRgn(dc, shape.get(), GetSysColorBrush(COLOR_INFOBK));
            FrameRgn(dc, shape.get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
            RECT textRect{c.left + w / 6, c.top + (3 * h) / 8 + 1, c.right - w / 6, c.bottom};
            DrawTextW(dc, text.c_str(), -1, &textRect, DT_CENTER);
        } else {
            RoundRect(dc, c.left, c.top, c.right, c.bottom, 6, 6);
            InflateRect(&c, -2, -1);
            DrawTextW(dc, text.c_str(), -1, &c, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
    });
    return true;
}

LRESULT THintWindowHelper::ToolTipProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND wnd = hook_.Window();
    TCoolHint* hint = TCoolHint::Current();
    if (!hint || !hint->Active()) return hook_.Next(msg, wParam, lParam);
    LRESULT result = 0;
    bool handled = false;
    Guarded([&] {
        switch (msg) {
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            // The tool tip sizes itself for each hint before or while it shows it.
            if (!(pos->flags & SWP_NOSIZE)) Activating(wnd, *pos);
            break;
        }
        case WM_WINDOWPOSCHANGED:
            if (!(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOSIZE)) Reshape(wnd);
            break;
        case WM_PAINT:
            handled = Paint(wnd);
            break;
        case WM_ERASEBKGND:
            handled = hint->HintType != THintType::htOwnerDraw;
            result = 1;
            break;
        case WM_NCPAINT:
            handled = hint->HintType != THintType::htOwnerDraw;
            break;
        }
    });
    return handled ? result : hook_.Next(msg, wParam, lParam);
}
