#include "widgets/TCoolHint.h"

#include "widgets/THintWindowHelper.h"

namespace {
int instances = 0;
TCoolHint* current = nullptr;
} // namespace

TCoolHint::TCoolHint(TComponent* owner) : TComponent(owner) {
    if (instances > 0) throw EHintWindowError(L"Only single component allowed");
    // Counted only once it exists: a refused second one leaves no trace.
    ++instances;
    current = this;
    SetActive(true);
}

TCoolHint::~TCoolHint() {
    SetActive(false);
    --instances;
    if (current == this) current = nullptr;
}

TCoolHint* TCoolHint::Current() {
    return current;
}

BOOL CALLBACK TCoolHint::AttachExisting(HWND wnd, LPARAM active) {
    if (THintWindowHelper::IsToolTip(wnd)) {
        if (active)
            THintWindowHelper::Attach(wnd);
        else
            THintWindowHelper::Detach(wnd);
    }
    return TRUE;
}

LRESULT CALLBACK TCoolHint::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    // Tool tips made from now on get the helper too.
    if (code == HCBT_CREATEWND && THintWindowHelper::IsToolTip(reinterpret_cast<HWND>(wParam)))
        THintWindowHelper::Attach(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TCoolHint::SetActive(bool active) {
    active_ = active;
    if (Loading()) return;
    // Tool tips are top-level windows of the thread that made them.
    EnumThreadWindows(GetCurrentThreadId(), AttachExisting, active);
    if (active && !creation_)
        creation_ = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    if (!active && creation_) {
        UnhookWindowsHookEx(creation_);
        creation_ = nullptr;
    }
}

void TCoolHint::Loaded() {
    SetActive(active_);
}
