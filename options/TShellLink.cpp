#include "options/TShellLink.h"

#include "framework/TApplication.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {
// The part after the last "\" or ":".
std::wstring NamePart(const std::wstring& path) {
    size_t at = path.find_last_of(L"\\:");
    return at == std::wstring::npos ? path : path.substr(at + 1);
}

std::wstring WithoutExtension(const std::wstring& name) {
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// Releases a COM interface however the scope is left.
template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }

  private:
    T* p_ = nullptr;
};

class ItemIdList {
  public:
    ItemIdList() = default;
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    ~ItemIdList() { CoTaskMemFree(p_); }
    LPITEMIDLIST* out() { return &p_; }
    LPCITEMIDLIST get() const { return p_; }

  private:
    LPITEMIDLIST p_ = nullptr;
};

std::wstring SpecialFolder(TShellLinkType type) {
    HWND owner = Application ? Application->Handle() : nullptr;
    ItemIdList list;
    if (SHGetSpecialFolderLocation(owner, static_cast<int>(type), list.out()) != S_OK)
        throw EShellLinkError(L"Error in GetSpecialFolderLocation");
    // A virtual folder (printers, the recycle bin) has no path to save into.
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list.get(), folder) || !folder[0])
        throw EShellLinkError(L"Error in GetSpecialFolderLocation");
    return folder;
}

std::wstring HResultText(HRESULT hr) {
    wchar_t text[16];
    swprintf(text, std::size(text), L"%08lX", static_cast<unsigned long>(hr));
    return text;
}
} // namespace

void TShellLink::SetFileName(const std::wstring& fileName) {
    if (fileName == fileName_) return;
    fileName_ = fileName;
    if (Description.empty()) Description = WithoutExtension(NamePart(fileName));
    if (WorkDir.empty()) WorkDir = DirectoryOf(fileName);
}

std::wstring TShellLink::DirectoryOf(const std::wstring& path) {
    size_t at = path.find_last_of(L"\\:");
    if (at == std::wstring::npos) return {};
    // C:\b.exe gives C:\ ; C:\A\b.exe gives C:\A.
    bool afterDrive = at > 0 && path[at - 1] == L':' && path[at] == L'\\';
    if (path[at] == L':' || afterDrive) return path.substr(0, at + 1);
    return path.substr(0, at);
}

unsigned short TShellLink::ShellHotKey(unsigned short hotKey) {
    unsigned short word = hotKey & 0x1FFF;
    if (hotKey & scShift) word += HOTKEYF_SHIFT << 8;
    if (hotKey & scCtrl) word += HOTKEYF_CONTROL << 8;
    if (hotKey & scAlt) word += HOTKEYF_ALT << 8;
    return word;
}

std::wstring TShellLink::LinkPath() const {
    return SpecialFolder(LinkType) + L"\\" + WithoutExtension(NamePart(fileName_)) + L".lnk";
}

void TShellLink::CreateLink() {
    if (fileName_.empty()) {
        std::wstring self(32768, L'\0');
        self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
        SetFileName(self);
    }
    const unsigned short hotKey = ShellHotKey(HotKey);
    const std::wstring linkPath = LinkPath();
    // The shell saves links by a path of at most MAX_PATH characters; a
    // longer one is refused rather than cut.
    if (linkPath.size() >= MAX_PATH) throw EShellLinkError(L"ショートカットのパスが長すぎます。 [" + linkPath + L"]");

    ComPtr<IUnknown> object;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IUnknown, object.out());
    if (FAILED(hr)) throw Exception(L"OLE error " + HResultText(hr));
    ComPtr<IShellLinkW> link;
    if (FAILED(object->QueryInterface(IID_IShellLinkW, link.out())))
        throw Exception(L"Interface not supported");
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
        throw EShellLinkError(L"Error in QueryInterface");

    link->SetDescription(Description.c_str());
    link->SetPath(fileName_.c_str());
    link->SetWorkingDirectory(WorkDir.c_str());
    link->SetArguments(Arguments.c_str());
    link->SetHotkey(hotKey);
    link->SetShowCmd(WindowState == TWindowState::wsMinimized   ? SW_MINIMIZE
                     : WindowState == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED
                                                                : SW_SHOWNORMAL);
    link->SetIconLocation(fileName_.c_str(), 0);
    // A folder that refuses the file must not look like success.
    if (FAILED(file->Save(linkPath.c_str(), TRUE)))
        throw EShellLinkError(L"ショートカットを保存できません。 [" + linkPath + L"]");
}
