#pragma once
// A host for OrvelCtl.dll as any program would use it: the library loaded by
// name, AboutShow looked up by its plain name, called from a window of the
// host's own while a watcher thread finds the dialog, looks at it and closes it.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace abouthost {

using AboutShowProc = int(__stdcall*)(const char*, const char*, const char*, HICON);

// Shift-JIS bytes of a text, as a caller passes them.
std::string ShiftJis(const std::wstring& text);

// Top-left corners of the labels in the dialog's client area: the panel's
// offset plus the label's place in it.
using Place = std::pair<int, int>;
inline const Place kTitle{60, 28}, kVersion{100, 70}, kOS{212, 70}, kNotice{20, 94};
inline const Place kMsg1{12, 125}, kMsg2{12, 142}, kMsg3{12, 161};
inline const Place kHeading{8, 192}, kContact1{16, 211}, kContact2{16, 229}, kContact3{16, 247};

// The labels of a dialog by their top-left corner in its client area.
std::map<std::pair<int, int>, std::wstring> Labels(HWND dialog);

// The visible version dialog of a process, when it is open.
HWND FindDialog(DWORD pid);
// The visible version dialog of this process, waited for (null when it never
// appears).
HWND WaitForDialog(DWORD timeoutMs = 10000);

struct CallResult {
    int result = -1;
    HWND dialog = nullptr;
    bool hostEnabledWhileOpen = true;
    bool hostEnabledAfter = false;
    HWND ownerWhileOpen = nullptr;
    HWND host = nullptr;
    bool closedByWatcher = false;
};

// Shows a visible, active window of the host, calls AboutShow from it, and
// runs `whileOpen` on a watcher thread once the dialog is there; whileOpen
// closes the dialog (if it does not, the watcher closes it with WM_CLOSE and
// the result says so).
CallResult Call(AboutShowProc proc, const char* title, const char* version, const char* edition, HICON icon,
                const std::function<void(HWND dialog)>& whileOpen);

// The host window of the running call (valid inside whileOpen).
HWND HostWindow();

// Posts a key press to the dialog, as the keyboard would deliver it to the
// focused control.
void PostKey(HWND dialog, WPARAM key);

// Posts the marker message and waits until the dialog's thread has taken it
// from its queue: everything posted before has been handled. True when the
// dialog was still open at that moment.
bool OpenAfterQueuedInput(HWND dialog);

// A 32x32 icon of one colour.
HICON SolidIcon(COLORREF color);
// The colour at the centre of a window, as it paints itself into a bitmap.
COLORREF PaintedCentre(HWND window);

} // namespace abouthost
