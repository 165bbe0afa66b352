#pragma once
// Which menu item shows which image of an owner-drawn menu, and its hint.
#include <memory>
#include <string>
#include <vector>

class TMenuItem;

class TItemImage {
  public:
    std::wstring Hint;
    TMenuItem* MenuItem = nullptr;

    int ImageIndex() const { return imageIndex_; }
    // Values below -1 are ignored; -1 is no image.
    void SetImageIndex(int index);
    // The caption of the item when one is set.
    std::wstring DisplayName() const;
    void Assign(const TItemImage& source);

  private:
    int imageIndex_ = -1;
};

class TItemImages {
  public:
    TItemImage& Add();
    TItemImage& Add(TMenuItem& item, int imageIndex, const std::wstring& hint = L"");
    int Count() const { return static_cast<int>(items_.size()); }
    TItemImage& operator[](int index) { return *items_.at(index); }
    const TItemImage& operator[](int index) const { return *items_.at(index); }

    // The first entry naming the item, or none.
    const TItemImage* Find(const TMenuItem& item) const;
    // Removal rules: a menu item, every menu item, every image.
    // By address: the item may be half destroyed already.
    void ForgetItem(const void* item);
    void ForgetAllItems();
    void ForgetAllImages();

  private:
    std::vector<std::unique_ptr<TItemImage>> items_;
};
