#include "framework/TComponent.h"

#include <algorithm>

TComponent::~TComponent() {
    DestroyComponents();
    auto notified = std::move(notified_);
    for (TComponent* other : notified) {
        other->RemoveFreeNotification(*this);
        other->Notification(*this, TOperation::Remove);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        auto last = std::move(components_.back());
        components_.pop_back();
        last.reset();
    }
}

void TComponent::Free(TComponent& component) {
    auto it = std::find_if(components_.begin(), components_.end(),
                           [&](const auto& owned) { return owned.get() == &component; });
    if (it == components_.end()) return;
    auto doomed = std::move(*it);
    components_.erase(it);
    doomed.reset();
}

void TComponent::FreeNotification(TComponent& other) {
    if (std::find(notified_.begin(), notified_.end(), &other) == notified_.end()) notified_.push_back(&other);
    if (std::find(other.notified_.begin(), other.notified_.end(), this) == other.notified_.end())
        other.notified_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent& other) {
    std::erase(notified_, &other);
    std::erase(other.notified_, this);
}

void TComponent::Notification(TComponent&, TOperation) {}

void TComponent::LoadedAll() {
    for (auto& component : components_)
        component->LoadedAll();
    loading_ = false;
    Loaded();
}
