#pragma once
// Move-only owners for Win32 handles, and scope guards for borrowed ones.
#include <windows.h>

#include <atomic>
#include <utility>

namespace handle_detail {
template <typename H> constexpr H NullHandle() {
    return H{};
}
inline HANDLE InvalidFileHandle() {
    return INVALID_HANDLE_VALUE;
}

// Test builds count the handles the owners below hold, per type and in all,
// so a long run can show that it gives back everything it took.
#ifdef TAPESTRA_LIVE_HANDLES
inline std::atomic<long> liveTotal{0};
template <typename H, auto Close> inline std::atomic<long> live{0};
#endif
} // namespace handle_detail

// Live handles of all owner types; 0 outside test builds.
inline long LiveHandleCount() {
#ifdef TAPESTRA_LIVE_HANDLES
    return handle_detail::liveTotal;
#else
    return 0;
#endif
}

// Empty() gives the value that holds nothing: null for most handles,
// INVALID_HANDLE_VALUE for files.
template <typename H, auto Close, auto Empty = handle_detail::NullHandle<H>> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) { Track(h, 1); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Empty())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Empty(); }
    H release() {
        Track(h_, -1);
        return std::exchange(h_, Empty());
    }
    void reset(H h = Empty()) {
        if (h_ != Empty()) Close(h_);
        Track(h_, -1);
        h_ = h;
        Track(h, 1);
    }
    // For out-parameters of API calls: frees what is held first; what the
    // call stores is owned from the end of the call's expression on.
    class Out {
      public:
        explicit Out(UniqueHandle& owner) : owner_(owner) {}
        Out(const Out&) = delete;
        Out& operator=(const Out&) = delete;
        ~Out() { Track(owner_.h_, 1); }
        operator H*() const { return &owner_.h_; }

      private:
        UniqueHandle& owner_;
    };
    Out put() {
        reset();
        return Out(*this);
    }

    // Live handles of this owner type; 0 outside test builds.
    static long Live() {
#ifdef TAPESTRA_LIVE_HANDLES
        return handle_detail::live<H, Close>;
#else
        return 0;
#endif
    }

  private:
    static void Track([[maybe_unused]] H h, [[maybe_unused]] long delta) {
#ifdef TAPESTRA_LIVE_HANDLES
        if (h == Empty()) return;
        handle_detail::live<H, Close> += delta;
        handle_detail::liveTotal += delta;
#endif
    }

    H h_ = Empty();
};

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
inline void CloseKernel(HANDLE h) {
    CloseHandle(h);
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
using UniqueKernelHandle = UniqueHandle<HANDLE, handle_detail::CloseKernel>;
// What CreateFileW returns: INVALID_HANDLE_VALUE, not null, when it fails.
using UniqueFile = UniqueHandle<HANDLE, handle_detail::CloseKernel, handle_detail::InvalidFileHandle>;
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
