#include "widgets/THotKeys.h"

THotKeys::THotKeys(TComponent* owner) : TWinControl(owner) {
    CreateOwnWindow(L"TapestraHotKeys", WS_POPUP, WS_EX_TOOLWINDOW, nullptr);
}

THotKeys::~THotKeys() {
    Unregister();
}

std::vector<THotKeyBinding> THotKeys::Register(const std::vector<THotKeyBinding>& keys) {
    Unregister();
    std::vector<THotKeyBinding> taken;
    for (const THotKeyBinding& binding : keys) {
        if (!LOBYTE(binding.HotKey)) continue;
        const int id = static_cast<int>(registered_.size()) + 1;
        if (RegisterHotKey(Handle(), id, HotKeyModifiers(binding.HotKey), LOBYTE(binding.HotKey)))
            registered_.push_back(binding);
        else
            taken.push_back(binding);
    }
    return taken;
}

void THotKeys::Unregister() {
    for (int id = 1; id <= static_cast<int>(registered_.size()); ++id)
        UnregisterHotKey(Handle(), id);
    registered_.clear();
}

LRESULT THotKeys::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HOTKEY) {
        // Identifiers below 1 are the system's own (IDHOT_SNAPDESKTOP, ...).
        const auto id = static_cast<INT_PTR>(wParam);
        if (id >= 1 && id <= static_cast<INT_PTR>(registered_.size()) && OnHotKey)
            OnHotKey(registered_[id - 1].Command);
        return 0;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
