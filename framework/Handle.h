#pragma once
// Move-only owners for Win32 handles, and scope guards for borrowed ones.
#include "base/UniqueHandle.h"

#include <windows.h>

namespace handle_detail {
inline void CloseKey(HKEY h) {
    RegCloseKey(h);
}
inline void DeleteGdi(HGDIOBJ h) {
    DeleteObject(h);
}
inline void CloseIcon(HICON h) {
    DestroyIcon(h);
}
inline void CloseMenu(HMENU h) {
    DestroyMenu(h);
}
inline void CloseDC(HDC h) {
    DeleteDC(h);
}
inline void CloseModule(HMODULE h) {
    FreeLibrary(h);
}
inline void CloseGlobal(HGLOBAL h) {
    GlobalFree(h);
}
inline void CloseMetafile(HENHMETAFILE h) {
    DeleteEnhMetaFile(h);
}
} // namespace handle_detail

using UniqueKey = UniqueHandle<HKEY, handle_detail::CloseKey>;
using UniqueBitmap = UniqueHandle<HBITMAP, handle_detail::DeleteGdi>;
using UniqueBrush = UniqueHandle<HBRUSH, handle_detail::DeleteGdi>;
using UniqueFont = UniqueHandle<HFONT, handle_detail::DeleteGdi>;
using UniquePen = UniqueHandle<HPEN, handle_detail::DeleteGdi>;
using UniqueRgn = UniqueHandle<HRGN, handle_detail::DeleteGdi>;
using UniquePalette = UniqueHandle<HPALETTE, handle_detail::DeleteGdi>;
using UniqueIcon = UniqueHandle<HICON, handle_detail::CloseIcon>;
using UniqueMenu = UniqueHandle<HMENU, handle_detail::CloseMenu>;
using UniqueDC = UniqueHandle<HDC, handle_detail::CloseDC>;
using UniqueModule = UniqueHandle<HMODULE, handle_detail::CloseModule>;
using UniqueGlobal = UniqueHandle<HGLOBAL, handle_detail::CloseGlobal>;
using UniqueEnhMetafile = UniqueHandle<HENHMETAFILE, handle_detail::CloseMetafile>;

// GetDC/ReleaseDC for a window (null: the screen).
class WindowDC {
  public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(wnd_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint/EndPaint of a window's WM_PAINT.
class PaintGuard {
  public:
    explicit PaintGuard(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {}
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    ~PaintGuard() { EndPaint(wnd_, &ps_); }
    HDC get() const { return dc_; }
    // The part of the window to paint.
    const RECT& Area() const { return ps_.rcPaint; }

  private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// SelectObject now, the previous object back at scope end.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// SelectPalette now (and realised), the previous palette back at scope end.
// A null palette selects nothing.
class PaletteGuard {
  public:
    PaletteGuard(HDC dc, HPALETTE palette, bool background = false)
        : dc_(dc), background_(background),
          old_(palette ? SelectPalette(dc, palette, background ? TRUE : FALSE) : nullptr) {
        if (palette) RealizePalette(dc);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;
    ~PaletteGuard() {
        if (old_) SelectPalette(dc_, old_, background_ ? TRUE : FALSE);
    }

  private:
    HDC dc_;
    bool background_;
    HPALETTE old_;
};

// GlobalLock/GlobalUnlock of a movable block.
class GlobalLockGuard {
  public:
    explicit GlobalLockGuard(HGLOBAL mem) : mem_(mem), ptr_(mem ? GlobalLock(mem) : nullptr) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (ptr_) GlobalUnlock(mem_);
    }
    void* get() const { return ptr_; }

  private:
    HGLOBAL mem_;
    void* ptr_;
};
