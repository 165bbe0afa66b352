// The group and file commands of the main window: add, rename and delete
// groups; add, drop and delete files; the preview of a clicked file. The
// library decides and stores; the tree and the list then show it.
#include "app/TTapestraMain.h"

#include <algorithm>
#include "framework/TApplication.h"
#include "wallpaper/PictureRules.h"

namespace {
void Say(const std::wstring& text) {
    Application->ModalUI().ShowMessage(text);
}

// Says a refusal; true when there was none.
bool Accepted(const Refusal& refusal) {
    if (refusal) Say(*refusal);
    return !refusal;
}

bool Confirm(const std::wstring& what) {
    return Application->ModalUI().MessageDlg(L"選択された「" + what + L"」を削除してよろしいですか？",
                                             TMsgDlgType::Warning, mbYes | mbNo | mbCancel) == mrYes;
}
} // namespace

int TTapestraMain::SelectedGroup() const {
    HTREEITEM selected = GroupTree->Selected();
    return selected ? GroupTree->AbsoluteIndex(selected) : -1;
}

bool TTapestraMain::GroupSelected(bool rootAllowed) {
    const int group = SelectedGroup();
    if (group < 0) {
        Say(L"グループが選択されていません。");
        return false;
    }
    return rootAllowed || group != 0;
}

void TTapestraMain::AddGroupClick() {
    if (!Library.CanAddGroup()) {
        Say(L"これ以上グループは作成できません。");
        return;
    }
    std::wstring name;
    if (!Application->ModalUI().InputQuery(L"グループ名称の入力", L"追加したいグループ名称を入力して下さい。",
                                           name))
        return;
    if (!Accepted(Library.AddGroup(name))) return;
    HTREEITEM node = GroupTree->AddChild(GroupTree->Root(), name, 0, 1);
    GroupTree->Expand(GroupTree->Root());
    GroupTree->Select(node);
}

void TTapestraMain::RenameClick() {
    if (!GroupSelected(true)) return;
    const int group = SelectedGroup();
    if (group == 0) {
        Say(L"壁紙グループの変更は出来ません。");
        return;
    }
    std::wstring name = Library.GroupName(group);
    if (!Application->ModalUI().InputQuery(L"グループ名称の変更", L"新しいグループ名称を入力して下さい。",
                                           name))
        return;
    if (!Accepted(Library.RenameGroup(group, name))) return;
    GroupTree->SetNodeText(GroupTree->Selected(), name);
}

void TTapestraMain::Delete1Click() {
    if (!GroupSelected(true)) return;
    const int group = SelectedGroup();
    if (group == 0) {
        Say(L"壁紙グループの削除は出来ません。");
        return;
    }
    if (!Confirm(Library.GroupName(group))) return;
    HTREEITEM node = GroupTree->Selected();
    if (!Accepted(Library.DeleteGroup(group))) return;
    GroupTree->Delete(node);
    FileList->SetRow(0);
    GroupTree->Select(GroupTree->Root());
}

void TTapestraMain::GroupTreeChange() {
    // The preview shows a row of the group that was selected before.
    previewFile_.clear();
    std::exception_ptr error = Library.ShowGroup(SelectedGroup());
    ShowFileList();
    // The rows shown always belong to the selected group; a value that could
    // not be read is reported once they are in.
    if (error) Application->HandleException(error);
}

void TTapestraMain::ShowFileList() {
    FileList->SetRows(Library.Rows());
}

void TTapestraMain::ChangeFiles(const std::function<Refusal()>& change) {
    // The library changes before it writes: the list shows the change even
    // when the write fails and is reported.
    Refusal refusal;
    try {
        refusal = change();
    } catch (...) {
        ShowFileList();
        throw;
    }
    ShowFileList();
    Accepted(refusal);
}

void TTapestraMain::AddFilesClick() {
    if (!GroupSelected(true)) return;
    if (SelectedGroup() == 0) {
        Say(L"壁紙グループにファイルの追加は行えません。");
        return;
    }
    TOpenDialogOptions options;
    options.Title = L"壁紙ファイルの追加";
    options.Filter = PictureFileFilter();
    options.DefaultExt = L"bmp";
    std::vector<std::wstring> files = Application->ModalUI().OpenFiles(options);
    if (files.empty()) return;
    ChangeFiles([&] { return Library.AddFiles(files); });
}

void TTapestraMain::FileDrop1FileDrop(const std::vector<std::wstring>& names) {
    if (!GroupSelected(true)) return;
    std::vector<std::wstring> accepted;
    for (const auto& name : names)
        if (IsPictureFile(name)) accepted.push_back(name);
    if (accepted.empty()) return;
    ChangeFiles([&] { return Library.AddFiles(accepted); });
}

void TTapestraMain::FileDeleteClick() {
    const int row = FileList->Row();
    if (row == 0) {
        Say(L"（なし）は削除出来ません。");
        return;
    }
    if (!Confirm(Library.Row(row))) return;
    ChangeFiles([&] { return Library.DeleteFile(row); });
    FileList->SetRow(0);
}

void TTapestraMain::FileListClick() {
    const int row = FileList->Row();
    StatusBar1->SetSimpleText(Library.Row(row));
    if (row == 0) return;
    // A change reads the picture itself, once.
    if (!selectingForChange_) ShowPreview(Library.Row(row));
    RadioGroup1->SetItemIndex(static_cast<int>(StoredPosition(Library.FileView(row))));
}

void TTapestraMain::ShowPreview(const std::wstring& path) {
    // Remembered before the load: a file that fails is not read again.
    previewFile_ = path;
    const PixelSize box{LoadPicture->Width(), LoadPicture->Height()};
    ShowInPreview(path, ReadShown(path, [box](PixelSize) { return box; }));
}

DecodedPicture TTapestraMain::ReadShown(const std::wstring& path, const DecodeSize& size) {
    // What our plug-ins do not read, the preview's loader reads whole and
    // reports as it always has; the preview then shows the small copy only.
    const WholeLoader whole = [this](const std::wstring& file) -> const TPicture* {
        LoadPicture->SetPictureName(file);
        const TPicture& picture = LoadPicture->Picture();
        return LoadPicture->Error() == 0 && !picture.Empty() ? &picture : nullptr;
    };
    try {
        return ReadPicture(path, size, GetSysColor(COLOR_BACKGROUND), whole);
    } catch (const EPictureRead& failure) {
        LoadPicture->ShowFailure(failure.Path, failure.Code, failure.Text);
        return {};
    }
}

void TTapestraMain::ShowInPreview(const std::wstring& path, const DecodedPicture& picture) {
    if (picture.Empty()) return;
    // The preview stretches what it holds over its box: never more than that.
    const PixelSize box{std::clamp(LoadPicture->Width(), 1, picture.Width),
                        std::clamp(LoadPicture->Height(), 1, picture.Height)};
    LoadPicture->ShowPicture(path, BitmapOfPicture(Scaled(picture, box)));
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
