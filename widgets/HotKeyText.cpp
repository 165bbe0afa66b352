#include "widgets/HotKeyText.h"

#include <commctrl.h>

#include <cwchar>
#include <iterator>

namespace {
// Keys that share their scan code with a key of the number pad (or with
// Pause) and are told apart by the extended-key bit. The hotkey control sets
// HOTKEYF_EXT for them, but a value stored by hand may lack it.
bool ExtendedKey(BYTE key) {
    switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
    case VK_DIVIDE:
    case VK_NUMLOCK:
        return true;
    default:
        return false;
    }
}

// The key's own name in the keyboard layout; a key without one by number.
std::wstring KeyName(BYTE key, BYTE flags) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const bool extended = (flags & HOTKEYF_EXT) || ExtendedKey(key);
    const LONG code = static_cast<LONG>((scan << 16) | (extended ? 1u << 24 : 0u));
    wchar_t name[64] = {};
    if (scan && GetKeyNameTextW(code, name, static_cast<int>(std::size(name))) > 0) return name;
    wchar_t number[16];
    std::swprintf(number, std::size(number), L"キー 0x%02X", key);
    return number;
}
} // namespace

std::wstring HotKeyName(WORD hotKey) {
    const BYTE key = LOBYTE(hotKey);
    const BYTE flags = HIBYTE(hotKey);
    if (!key) return {};
    std::wstring name;
    if (flags & HOTKEYF_CONTROL) name += L"Ctrl+";
    if (flags & HOTKEYF_SHIFT) name += L"Shift+";
    if (flags & HOTKEYF_ALT) name += L"Alt+";
    return name + KeyName(key, flags);
}

UINT HotKeyModifiers(WORD hotKey) {
    const BYTE flags = HIBYTE(hotKey);
    UINT modifiers = MOD_NOREPEAT;
    if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
    return modifiers;
}

std::wstring HotKeysTakenMessage(const std::vector<THotKeyBinding>& taken) {
    std::wstring text = L"次のホットキーは他のプログラムが使用中のため登録できませんでした。\n";
    for (const THotKeyBinding& binding : taken)
        text += L"\n" + HotKeyName(binding.HotKey) + L"（" + CommandLabel(binding.Command) + L"）";
    return text;
}
