#pragma once
// Components and ownership: an owner destroys what it owns, in reverse order of
// creation. A component can ask to be told when another one goes away.
#include <memory>
#include <string>
#include <utility>
#include <vector>

enum class TOperation { Insert, Remove };

class TComponent {
  public:
    // A component made while its owner is loading is loading too.
    explicit TComponent(TComponent* owner) : owner_(owner), loading_(owner && owner->loading_) {}
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    // Creates a component owned by this one; the owner keeps it alive.
    template <typename T, typename... Args> T& Own(Args&&... args) {
        auto component = std::make_unique<T>(this, std::forward<Args>(args)...);
        T& ref = *component;
        components_.push_back(std::move(component));
        return ref;
    }
    // Destroys one owned component before its owner goes.
    void Free(TComponent& component);

    TComponent* Owner() const { return owner_; }
    const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }

    // other.Notification(this, Remove) runs when this component is destroyed.
    void FreeNotification(TComponent& other);
    void RemoveFreeNotification(TComponent& other);
    virtual void Notification(TComponent& component, TOperation operation);

    // Marks this component as loading: its design values are still being
    // set, so setters only record them. LoadedAll ends the state.
    void BeginLoading() { loading_ = true; }
    bool Loading() const { return loading_; }

    // Runs Loaded on every owned component, then on this one: the design
    // values are all set. Each stops loading before its Loaded runs.
    void LoadedAll();
    virtual void Loaded() {}

    std::wstring Name;

  protected:
    // Destroys the owned components now (reverse order of creation); derived
    // destructors call it while their own window still exists.
    void DestroyComponents();

  private:
    TComponent* owner_;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::vector<TComponent*> notified_;
    bool loading_;
};
