// The group and file commands of the main window: add, rename and delete
// groups; add, drop and delete files; the preview of a clicked file.
#include "app/StoreNames.h"
#include "app/TTapestraMain.h"
#include "framework/TApplication.h"
#include "framework/Text.h"
#include "wallpaper/PictureRules.h"

namespace {
constexpr size_t kMaxGroupName = 255;
const wchar_t kDuplicate[] = L"すでにその名前のグループは存在します。";

void Say(const std::wstring& text) {
    Application->ModalUI().ShowMessage(text);
}

bool Confirm(const std::wstring& what) {
    return Application->ModalUI().MessageDlg(L"選択された「" + what + L"」を削除してよろしいですか？",
                                             TMsgDlgType::Warning, mbYes | mbNo | mbCancel) == mrYes;
}

// Registry key names ignore case, so group names must too.
bool SameKeyName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

bool IsPictureExtension(const std::wstring& ext) {
    for (const wchar_t* known : {L".BMP", L".JPG", L".GIF", L".PI", L".JPE", L".TIFF", L".TIF", L".PIC",
                                 L".P2", L".MAG", L".Q4", L".JPEG", L".JFIF", L".PNG"})
        if (ext == known) return true;
    return false;
}

void AppendFiles(TStringGrid& list, LibraryStore& library, const std::vector<std::wstring>& files) {
    const int rows = list.RowCount();
    list.SetRowCount(rows + static_cast<int>(files.size()));
    for (size_t i = 0; i < files.size(); ++i) {
        list.SetCell(rows + static_cast<int>(i), files[i]);
        // A new row starts at "標準"; the table grows with the group.
        library.SetFileView(rows + static_cast<int>(i), 0);
    }
}
} // namespace

std::wstring TTapestraMain::GroupNameRefusal(const std::wstring& name) const {
    if (name.empty()) return L"グループ名称を入力して下さい。";
    if (name.find(L'\\') != std::wstring::npos) return L"グループ名称に「\\」は使えません。";
    if (name.size() > kMaxGroupName) return L"グループ名称は255文字以内で入力して下さい。";
    for (HTREEITEM node = GroupTree->Root(); node;
         node = GroupTree->ItemAt(GroupTree->AbsoluteIndex(node) + 1))
        if (SameKeyName(GroupTree->NodeText(node), name)) return kDuplicate;
    return {};
}

bool TTapestraMain::GroupSelected(bool rootAllowed) {
    HTREEITEM selected = GroupTree->Selected();
    if (!selected) {
        Say(L"グループが選択されていません。");
        return false;
    }
    return rootAllowed || selected != GroupTree->Root();
}

void TTapestraMain::AddGroupClick() {
    HTREEITEM root = GroupTree->Root();
    if (GroupTree->ChildCount(root) >= kMaxGroups) {
        Say(L"これ以上グループは作成できません。");
        return;
    }
    std::wstring name;
    if (!Application->ModalUI().InputQuery(L"グループ名称の入力", L"追加したいグループ名称を入力して下さい。",
                                           name))
        return;
    if (std::wstring refusal = GroupNameRefusal(name); !refusal.empty()) {
        Say(refusal);
        return;
    }
    HTREEITEM node = GroupTree->AddChild(root, name, 0, 1);
    GroupTree->Expand(root);
    GroupTree->Select(node);
    SaveGroupList();
    Library.CreateGroup(name);
}

void TTapestraMain::RenameClick() {
    if (!GroupSelected(true)) return;
    HTREEITEM node = GroupTree->Selected();
    if (node == GroupTree->Root()) {
        Say(L"壁紙グループの変更は出来ません。");
        return;
    }
    std::wstring oldName = GroupTree->NodeText(node);
    std::wstring name = oldName;
    if (!Application->ModalUI().InputQuery(L"グループ名称の変更", L"新しいグループ名称を入力して下さい。",
                                           name))
        return;
    if (std::wstring refusal = GroupNameRefusal(name); !refusal.empty()) {
        Say(refusal);
        return;
    }
    GroupTree->SetNodeText(node, name);
    SaveGroupList();
    Library.RenameGroup(oldName, name);
}

void TTapestraMain::Delete1Click() {
    if (!GroupSelected(true)) return;
    HTREEITEM node = GroupTree->Selected();
    if (node == GroupTree->Root()) {
        Say(L"壁紙グループの削除は出来ません。");
        return;
    }
    std::wstring name = GroupTree->NodeText(node);
    if (!Confirm(name)) return;
    GroupTree->Delete(node);
    SaveGroupList();
    Library.EraseGroup(name);
    Library.ActiveGroup = 0;
    FileList->SetRow(0);
    Library.ActiveFile = 0;
    GroupTree->Select(GroupTree->Root());
}

void TTapestraMain::GroupTreeChange() {
    // The preview shows a row of the group that was selected before.
    previewFile_.clear();
    LoadFileList();
}

void TTapestraMain::AddFilesClick() {
    if (!GroupSelected(true)) return;
    if (GroupTree->Selected() == GroupTree->Root()) {
        Say(L"壁紙グループにファイルの追加は行えません。");
        return;
    }
    TOpenDialogOptions options;
    options.Title = L"壁紙ファイルの追加";
    options.Filter =
        L"全ての画像ファイル|*.bmp;*.jpg;*.jpe;*.gif;*.tif;*.tiff;*.pic;*.p2;*.mag;*.pi;*.q4;"
        L"*.png;*.jpeg;*.jfif|"
        L"BMPファイル|*.bmp|JPGファイル|*.jpg;*.jpe;*.jpeg;*.jfif|GIFファイル|*.gif|"
        L"TIFFファイル|*.tif;*.tiff|"
        L"PICファイル|*.pic|PICT2ファイル|*.p2|MAGファイル|*.MAG|PIファイル|*.PI|XLD4ファイル|*.Q4|"
        L"PNGファイル|*.png";
    options.DefaultExt = L"bmp";
    std::vector<std::wstring> files = Application->ModalUI().OpenFiles(options);
    if (files.empty()) return;
    AppendFiles(*FileList, Library, files);
    SaveFileList();
}

void TTapestraMain::FileDrop1FileDrop(const std::vector<std::wstring>& names) {
    if (!GroupSelected(true)) return;
    std::vector<std::wstring> accepted;
    for (const auto& name : names)
        if (IsPictureExtension(PictureExtension(name))) accepted.push_back(name);
    if (accepted.empty()) return;
    AppendFiles(*FileList, Library, accepted);
    SaveFileList();
}

void TTapestraMain::FileDeleteClick() {
    int row = FileList->Row();
    std::wstring path = FileList->Cell(row);
    if (path == kNoneRow) {
        Say(L"（なし）は削除出来ません。");
        return;
    }
    if (!Confirm(path)) return;
    Library.ActiveFile = 0;
    int rows = FileList->RowCount();
    std::vector<std::wstring> texts;
    for (int n = 0; n < rows; ++n)
        if (n != row) texts.push_back(FileList->Cell(n));
    Library.RemoveFileView(row);
    FileList->SetRows(std::move(texts));
    Library.SaveFileViews(SelectedGroupName(), rows - 1);
    SaveFileList();
    FileList->SetRow(0);
}

void TTapestraMain::FileListClick() {
    std::wstring text = FileList->Cell(FileList->Row());
    StatusBar1->SetSimpleText(text);
    if (text == kNoneRow) return;
    ShowPreview(text);
    RadioGroup1->SetItemIndex(Library.FileView(FileList->Row()));
}

void TTapestraMain::ShowPreview(const std::wstring& path) {
    // Remembered before the load: a file that fails is not read again.
    previewFile_ = path;
    LoadPicture->SetPictureName(path);
}

void TTapestraMain::pnlLeftResize() {
    GroupTree->SetBounds(GroupTree->Left(), GroupTree->Top(), pnlLeft->Width() - 8, pnlLeft->Height() - 8);
}

void TTapestraMain::pnlRightResize() {
    FileList->SetBounds(FileList->Left(), FileList->Top(), pnlRight->Width() - 8, pnlRight->Height() - 8);
}

void TTapestraMain::pnlTopResize() {
    pnlImage->SetBounds((pnlTop->Width() - pnlImage->Width()) / 2,
                        (pnlTop->Height() - pnlImage->Height()) / 2, pnlImage->Width(), pnlImage->Height());
}
