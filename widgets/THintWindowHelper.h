#pragma once
// The hint window of the current TCoolHint: hooks a tool-tip window with
// SetWindowSubclass and changes its rectangle when it is shown, its painting,
// its shape and its background and frame. Without a current TCoolHint the
// window behaves as it always does.
#include <windows.h>

#include <string>

class THintWindowHelper {
  public:
    static bool IsToolTip(HWND wnd);
    static void Attach(HWND toolTip);
    static void Detach(HWND toolTip);
    // The text the tool tip shows now.
    static std::wstring HintText(HWND toolTip);
    // The shape of a hint window whose client is w x h, for the types that have one;
    // it takes in the pixels of column w and row h.
    static HRGN Shape(int type, int width, int height);

  private:
    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    static void Activating(HWND wnd, WINDOWPOS& pos);
    static void Reshape(HWND wnd);
    static bool Paint(HWND wnd);
};
