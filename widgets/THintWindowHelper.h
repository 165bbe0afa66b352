#pragma once
// The hint window of the current TCoolHint: hooks one tool-tip window and
// changes its rectangle when it is shown, its painting, its shape and its
// background and frame. Without a current TCoolHint the window behaves as it
// always does; once the helper goes, it has its own shape back.
#include "framework/TSubclass.h"

#include <windows.h>

#include <string>

class THintWindowHelper {
  public:
    explicit THintWindowHelper(HWND toolTip);
    ~THintWindowHelper();
    THintWindowHelper(const THintWindowHelper&) = delete;
    THintWindowHelper& operator=(const THintWindowHelper&) = delete;
    // The tool tip hooked; null once it is destroyed.
    HWND ToolTip() const { return hook_.Window(); }

    static bool IsToolTip(HWND wnd);
    // The text the tool tip shows now.
    static std::wstring HintText(HWND toolTip);
    // The shape of a hint window whose client is w x h, for the types that have one;
    // it takes in the pixels of column w and row h.
    static HRGN Shape(int type, int width, int height);

  private:
    LRESULT ToolTipProc(UINT msg, WPARAM wParam, LPARAM lParam);
    static void Activating(HWND wnd, WINDOWPOS& pos);
    static void Reshape(HWND wnd);
    static bool Paint(HWND wnd);

    TSubclass hook_;
};
