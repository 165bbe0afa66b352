#pragma once
// One image plug-in library, loaded for one picture and released with this
// object, and the memory blocks of a picture it decoded. Every call into the
// plug-in is guarded: a fault inside it fails the call, and the library is
// not called again before it is released.
#include "framework/Handle.h"
#include "plugins/SizedPictureApi.h"
#include "plugins/SusieApi.h"

#include <optional>
#include <string>
#include <string_view>

// What a call reports when the plug-in lacks its entry point: the call is not
// made and the load fails as if it had returned this code.
constexpr int kEntryPointMissing = susie::NotImplemented;
// What a call reports when the plug-in faulted in it or in an earlier call
// (TSpiLibrary::Fault tells which fault).
constexpr int kPluginFaulted = susie::InternalError;

// The picture a plug-in decoded: a BITMAPINFO block and a pixel block, owned
// here so both are freed on every path. Plug-ins allocate them with
// LocalAlloc; local and global blocks are one kind on Win32.
struct TSpiDib {
    UniqueGlobal Info;
    UniqueGlobal Pixels;
};

// Both blocks of a TSpiDib locked for reading, checked so that converting
// them reads nothing past their ends.
class TLockedDib {
  public:
    explicit TLockedDib(const TSpiDib& dib);
    bool Valid() const { return valid_; }
    const BITMAPINFO* Info() const { return static_cast<const BITMAPINFO*>(info_.get()); }
    const BITMAPINFOHEADER& Header() const { return Info()->bmiHeader; }
    const RGBQUAD* Colors() const;
    const void* Bits() const { return pixels_.get(); }
    int Width() const { return Header().biWidth; }
    int Height() const { return Header().biHeight < 0 ? -Header().biHeight : Header().biHeight; }

  private:
    GlobalLockGuard info_;
    GlobalLockGuard pixels_;
    bool valid_ = false;
};

// What a successful GetPictureInfo delivered.
struct TSpiPictureInfo {
    int Width = 0;
    int Height = 0;
    unsigned XDensity = 0;
    unsigned YDensity = 0;
};

class TSpiLibrary {
  public:
    // Loads the library by its bare file name, so the system's search order
    // applies, and looks up GetPicture and, when asked, GetPictureInfo and
    // GetPreview. Nothing when the library does not load.
    static std::optional<TSpiLibrary> Load(std::wstring_view fileName, bool withInfoAndPreview);

    // The calls return the plug-in's result code. The path is the ANSI path
    // (at most 255 bytes); the flag is always 0 (a file) and no progress
    // callback is passed. Whatever a call returns is freed or owned here,
    // failed calls included; what a call that faulted left is not touched.
    int GetPictureInfo(const std::string& path, LONG_PTR offset, TSpiPictureInfo& info);
    int GetPicture(const std::string& path, LONG_PTR offset, TSpiDib& dib);
    int GetPreview(const std::string& path, LONG_PTR offset, TSpiDib& dib);

    // Our own plug-ins' decode at a size (plugins/SizedPictureApi.h), looked
    // up with the others. Without a request and a dib only the result is
    // filled: the stored size and the orientation.
    bool HasSizedDecode() const { return sized_ != nullptr; }
    int GetPictureAtSize(const std::string& path, LONG_PTR offset, const susie::SizedRequest* request,
                         susie::SizedResult& result, TSpiDib* dib);

    // The exception code of the fault that ended a call, once one did.
    std::optional<DWORD> Fault() const { return fault_; }

  private:
    explicit TSpiLibrary(UniqueModule module) : module_(std::move(module)) {}
    int Decode(susie::GetPictureProc proc, const std::string& path, LONG_PTR offset, TSpiDib& dib);
    // Every call into the plug-in goes through here.
    template <typename Call> int Guarded(const Call& call);

    // Released with FreeLibrary also after a fault, so that the next picture
    // gets the plug-in afresh. Its unload code runs outside the guard: it runs
    // under the loader's lock, which leaving it by force would keep held.
    UniqueModule module_;
    std::optional<DWORD> fault_;
    susie::GetPictureInfoProc info_ = nullptr;
    susie::GetPictureProc preview_ = nullptr;
    susie::GetPictureProc picture_ = nullptr;
    susie::GetPictureAtSizeProc sized_ = nullptr;
};
