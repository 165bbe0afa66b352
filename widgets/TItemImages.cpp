#include "widgets/TItemImages.h"

#include "framework/TMenu.h"

void TItemImage::SetImageIndex(int index) {
    if (index >= -1) imageIndex_ = index;
}

std::wstring TItemImage::DisplayName() const {
    return MenuItem ? MenuItem->Caption() : std::wstring();
}

void TItemImage::Assign(const TItemImage& source) {
    Hint = source.Hint;
    MenuItem = source.MenuItem;
    imageIndex_ = source.imageIndex_;
}

TItemImage& TItemImages::Add() {
    items_.push_back(std::make_unique<TItemImage>());
    return *items_.back();
}

TItemImage& TItemImages::Add(TMenuItem& item, int imageIndex, const std::wstring& hint) {
    TItemImage& entry = Add();
    entry.MenuItem = &item;
    entry.SetImageIndex(imageIndex);
    entry.Hint = hint;
    return entry;
}

const TItemImage* TItemImages::Find(const TMenuItem& item) const {
    for (const auto& entry : items_)
        if (entry->MenuItem == &item) return entry.get();
    return nullptr;
}

void TItemImages::ForgetItem(const void* item) {
    for (auto& entry : items_)
        if (static_cast<const TComponent*>(entry->MenuItem) == item) entry->MenuItem = nullptr;
}

void TItemImages::ForgetAllItems() {
    for (auto& entry : items_)
        entry->MenuItem = nullptr;
}

void TItemImages::ForgetAllImages() {
    for (auto& entry : items_)
        entry->SetImageIndex(-1);
}
