#pragma once
// A tree view over the common control. Nodes are HTREEITEM handles; the
// absolute index of a node is its position in a walk of all nodes from the top.
#include "framework/TWinControl.h"

#include <commctrl.h>

#include <functional>
#include <string>

class TTreeView : public TWinControl {
  public:
    TTreeView(TComponent* owner, TWinControl& parent, DWORD style);

    HTREEITEM AddChild(HTREEITEM parent, const std::wstring& text, int image = 0, int selectedImage = 0);
    void Delete(HTREEITEM node);
    void Clear();

    std::wstring NodeText(HTREEITEM node) const;
    void SetNodeText(HTREEITEM node, const std::wstring& text);
    void SetNodeImages(HTREEITEM node, int image, int selectedImage);

    HTREEITEM Root() const;
    HTREEITEM FirstChild(HTREEITEM node) const;
    HTREEITEM NextSibling(HTREEITEM node) const;
    HTREEITEM ParentOf(HTREEITEM node) const;
    int ChildCount(HTREEITEM node) const;
    int Count() const;
    // The node at an absolute index, null when there is none.
    HTREEITEM ItemAt(int absoluteIndex) const;
    int AbsoluteIndex(HTREEITEM node) const;

    HTREEITEM Selected() const;
    // Selects a node (null: none); OnChange runs when the selection changes.
    void Select(HTREEITEM node);
    void Expand(HTREEITEM node);

    void SetImageList(HIMAGELIST images);
    void SetIndent(int pixels);

    std::function<void(HTREEITEM node)> OnChange;

  protected:
    bool HandleNotify(NMHDR& header, LRESULT& result) override;
    bool CurrentItemRect(RECT& item) const override;

  private:
    HTREEITEM Next(HTREEITEM node) const;
};
