#include "widgets/TCoolHint.h"

#include "framework/TApplication.h"
#include "widgets/THintWindowHelper.h"

#include <algorithm>

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

void TCoolHint::Hook(HWND toolTip) {
    // Helpers of tool tips that are gone make room.
    std::erase_if(helpers_, [](const auto& helper) { return !helper->ToolTip(); });
    for (const auto& helper : helpers_)
        if (helper->ToolTip() == toolTip) return;
    helpers_.push_back(std::make_unique<THintWindowHelper>(toolTip));
}

BOOL CALLBACK TCoolHint::AttachExisting(HWND wnd, LPARAM self) {
    if (THintWindowHelper::IsToolTip(wnd)) reinterpret_cast<TCoolHint*>(self)->Hook(wnd);
    return TRUE;
}

LRESULT CALLBACK TCoolHint::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    // Tool tips made from now on get the helper too.
    if (code == HCBT_CREATEWND && current && THintWindowHelper::IsToolTip(reinterpret_cast<HWND>(wParam)))
        Guarded([&] { current->Hook(reinterpret_cast<HWND>(wParam)); });
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TCoolHint::SetActive(bool active) {
    active_ = active;
    if (Loading()) return;
    // Tool tips are top-level windows of the thread that made them.
    if (active)
        EnumThreadWindows(GetCurrentThreadId(), AttachExisting, reinterpret_cast<LPARAM>(this));
    else
        helpers_.clear();
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
