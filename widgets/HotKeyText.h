#pragma once
// Hotkeys as the system's hotkey control gives them (HKM_GETHOTKEY: the
// virtual key in the low byte, HOTKEYF_* flags in the high byte): their names
// for the user and their modifiers for RegisterHotKey.
#include "base/ProgramCommand.h"

#include <windows.h>

#include <string>
#include <vector>

struct THotKeyBinding {
    TProgramCommand Command;
    // As the hotkey control gives it; 0 is no key.
    WORD HotKey;
};

// "Ctrl+Alt+N": the modifiers in the hotkey control's order, then the key's
// name in the keyboard layout.
std::wstring HotKeyName(WORD hotKey);

// The MOD_* flags of RegisterHotKey, with MOD_NOREPEAT: a key held down
// changes the wallpaper once, not at the keyboard's repeat rate.
UINT HotKeyModifiers(WORD hotKey);

// One message for the keys that could not be registered, each named with its
// command: "Ctrl+Alt+N（次のファイル）".
std::wstring HotKeysTakenMessage(const std::vector<THotKeyBinding>& taken);
