#include "widgets/TFileDrop.h"

#include "framework/Exception.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"

#include <shellapi.h>

TFileDrop::TFileDrop(TComponent* owner) : TComponent(owner) {}

TFileDrop::~TFileDrop() {
    UnhookControl();
}

void TFileDrop::SetControl(TWinControl* control) {
    UnhookControl();
    if (control_ && control_ != control) RemoveFreeNotification(*control_);
    control_ = control;
    if (control_) control_->FreeNotification(*this);
    HookControl();
}

void TFileDrop::SetAccept(bool value) {
    if (accept_ == value) return;
    accept_ = value;
    if (hook_.Window()) DragAcceptFiles(hook_.Window(), accept_);
}

void TFileDrop::Loaded() {
    if (!control_) SetControl(nullptr);
}

void TFileDrop::Notification(TComponent& component, TOperation operation) {
    TComponent::Notification(component, operation);
    // The stored values only: the window is gone or going, and the hook
    // went with it at WM_NCDESTROY.
    if (operation == TOperation::Remove && &component == control_) {
        control_ = nullptr;
        accept_ = false;
    }
}

HWND TFileDrop::TargetHandle() const {
    if (control_) return control_->Handle();
    if (auto* form = dynamic_cast<TForm*>(Owner())) return form->Handle();
    return nullptr;
}

void TFileDrop::HookControl() {
    HWND target = TargetHandle();
    if (!target) throw Exception(L"Invalidate Window Handle in FileDrop");
    if (!hook_.Attach(target, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            return TargetProc(msg, wParam, lParam);
        }))
        throw Exception(L"Invalidate Window Handle in FileDrop");
    DragAcceptFiles(target, accept_);
}

void TFileDrop::UnhookControl() {
    // A window that went away took the hook with it.
    hook_.Detach();
}

void TFileDrop::DropFiles(HDROP drop) {
    if (!OnFileDrop) return;
    POINT point{};
    DragQueryPoint(drop, &point);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> names;
    names.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        // Names come whole, whatever their length.
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
        names.push_back(std::move(name));
    }
    OnFileDrop(*this, static_cast<int>(count), names, point);
}

LRESULT TFileDrop::TargetProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DROPFILES) {
        auto drop = reinterpret_cast<HDROP>(wParam);
        Guarded([&] { DropFiles(drop); });
        // The shell's memory is released whatever the handler did.
        DragFinish(drop);
        return 0;
    }
    return hook_.Next(msg, wParam, lParam);
}
