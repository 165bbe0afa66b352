#include "framework/TTreeView.h"

TTreeView::TTreeView(TComponent* owner, TWinControl& parent, DWORD style) : TWinControl(owner) {
    CreateSystemWindow(WC_TREEVIEWW, WS_VISIBLE | WS_TABSTOP | style, WS_EX_CLIENTEDGE, parent);
}

HTREEITEM TTreeView::AddChild(HTREEITEM parent, const std::wstring& text, int image, int selectedImage) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    std::wstring copy = text;
    insert.item.pszText = copy.data();
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TTreeView::Delete(HTREEITEM node) {
    TreeView_DeleteItem(Handle(), node);
}
void TTreeView::Clear() {
    TreeView_DeleteAllItems(Handle());
}

std::wstring TTreeView::NodeText(HTREEITEM node) const {
    // Group names are at most 255 characters; the buffer holds any node text.
    wchar_t buffer[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    SendMessageW(Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void TTreeView::SetNodeText(HTREEITEM node, const std::wstring& text) {
    std::wstring copy = text;
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = copy.data();
    SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeView::SetNodeImages(HTREEITEM node, int image, int selectedImage) {
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    SendMessageW(Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

HTREEITEM TTreeView::Root() const {
    return TreeView_GetRoot(Handle());
}
HTREEITEM TTreeView::FirstChild(HTREEITEM node) const {
    return TreeView_GetChild(Handle(), node);
}
HTREEITEM TTreeView::NextSibling(HTREEITEM node) const {
    return TreeView_GetNextSibling(Handle(), node);
}
HTREEITEM TTreeView::ParentOf(HTREEITEM node) const {
    return TreeView_GetParent(Handle(), node);
}

int TTreeView::ChildCount(HTREEITEM node) const {
    int n = 0;
    for (HTREEITEM c = FirstChild(node); c; c = NextSibling(c))
        ++n;
    return n;
}

int TTreeView::Count() const {
    return static_cast<int>(TreeView_GetCount(Handle()));
}

HTREEITEM TTreeView::Next(HTREEITEM node) const {
    if (HTREEITEM child = FirstChild(node)) return child;
    for (HTREEITEM n = node; n; n = ParentOf(n))
        if (HTREEITEM sibling = NextSibling(n)) return sibling;
    return nullptr;
}

HTREEITEM TTreeView::ItemAt(int absoluteIndex) const {
    if (absoluteIndex < 0) return nullptr;
    HTREEITEM node = Root();
    for (int i = 0; node && i < absoluteIndex; ++i)
        node = Next(node);
    return node;
}

int TTreeView::AbsoluteIndex(HTREEITEM node) const {
    int i = 0;
    for (HTREEITEM n = Root(); n; n = Next(n), ++i)
        if (n == node) return i;
    return -1;
}

HTREEITEM TTreeView::Selected() const {
    return TreeView_GetSelection(Handle());
}

void TTreeView::Select(HTREEITEM node) {
    TreeView_SelectItem(Handle(), node);
}

void TTreeView::Expand(HTREEITEM node) {
    TreeView_Expand(Handle(), node, TVE_EXPAND);
}

void TTreeView::SetIndent(int pixels) {
    TreeView_SetIndent(Handle(), pixels);
}

void TTreeView::SetImageList(HIMAGELIST images) {
    TreeView_SetImageList(Handle(), images, TVSIL_NORMAL);
}

bool TTreeView::HandleNotify(NMHDR& header, LRESULT& result) {
    if (header.code == TVN_SELCHANGEDW) {
        if (OnChange) OnChange(reinterpret_cast<NMTREEVIEWW&>(header).itemNew.hItem);
        result = 0;
        return true;
    }
    return false;
}

bool TTreeView::CurrentItemRect(RECT& item) const {
    HTREEITEM node = Selected();
    return node && TreeView_GetItemRect(Handle(), node, &item, TRUE);
}
