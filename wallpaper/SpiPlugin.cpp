#include "wallpaper/SpiPlugin.h"

#include "wallpaper/FaultGuard.h"
#include "wallpaper/PictureRules.h"

namespace {
template <typename Proc> Proc Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
} // namespace

TLockedDib::TLockedDib(const TSpiDib& dib) : info_(dib.Info.get()), pixels_(dib.Pixels.get()) {
    if (!info_.get() || !pixels_.get()) return;
    size_t infoBytes = GlobalSize(dib.Info.get());
    if (infoBytes < sizeof(BITMAPINFOHEADER)) return;
    valid_ = DibFitsBlocks(Header(), infoBytes, GlobalSize(dib.Pixels.get()));
}

const RGBQUAD* TLockedDib::Colors() const {
    return reinterpret_cast<const RGBQUAD*>(static_cast<const BYTE*>(info_.get()) + Header().biSize);
}

std::optional<TSpiLibrary> TSpiLibrary::Load(std::wstring_view fileName, bool withInfoAndPreview) {
    UniqueModule module(LoadLibraryW(std::wstring(fileName).c_str()));
    if (!module) return std::nullopt;
    TSpiLibrary library(std::move(module));
    HMODULE m = library.module_.get();
    if (withInfoAndPreview) {
        library.info_ = Entry<susie::GetPictureInfoProc>(m, "GetPictureInfo");
        library.preview_ = Entry<susie::GetPictureProc>(m, "GetPreview");
    }
    library.picture_ = Entry<susie::GetPictureProc>(m, "GetPicture");
    library.sized_ = Entry<susie::GetPictureAtSizeProc>(m, "GetPictureAtSize");
    return library;
}

template <typename Call> int TSpiLibrary::Guarded(const Call& call) {
    if (fault_) return kPluginFaulted;
    int32_t result = 0;
    DWORD code = 0;
    if (RunGuarded(call, result, code)) return result;
    fault_ = code;
    return kPluginFaulted;
}

int TSpiLibrary::GetPictureInfo(const std::string& path, LONG_PTR offset, TSpiPictureInfo& info) {
    if (!info_) return kEntryPointMissing;
    susie::PictureInfo record{};
    const int result = Guarded([&] { return info_(path.c_str(), offset, susie::kSourceFile, &record); });
    if (fault_) return result;
    UniqueGlobal text(record.hInfo);
    if (result == susie::Success) info = {record.width, record.height, record.x_density, record.y_density};
    return result;
}

int TSpiLibrary::Decode(susie::GetPictureProc proc, const std::string& path, LONG_PTR offset, TSpiDib& dib) {
    dib = {};
    if (!proc) return kEntryPointMissing;
    HLOCAL info = nullptr, pixels = nullptr;
    const int result =
        Guarded([&] { return proc(path.c_str(), offset, susie::kSourceFile, &info, &pixels, nullptr, 0); });
    if (fault_) return result;
    dib.Info.reset(info);
    dib.Pixels.reset(pixels);
    return result;
}

int TSpiLibrary::GetPicture(const std::string& path, LONG_PTR offset, TSpiDib& dib) {
    return Decode(picture_, path, offset, dib);
}

int TSpiLibrary::GetPreview(const std::string& path, LONG_PTR offset, TSpiDib& dib) {
    return Decode(preview_, path, offset, dib);
}

int TSpiLibrary::GetPictureAtSize(const std::string& path, LONG_PTR offset, const susie::SizedRequest* request,
                                  susie::SizedResult& result, TSpiDib* dib) {
    if (dib) *dib = {};
    if (!sized_) return kEntryPointMissing;
    result = {};
    result.size = sizeof(result);
    HLOCAL info = nullptr, pixels = nullptr;
    const int code = Guarded([&] {
        return sized_(path.c_str(), offset, susie::kSourceFile, request, &result, dib ? &info : nullptr,
                      dib ? &pixels : nullptr, nullptr, 0);
    });
    if (fault_) return code;
    if (dib) {
        dib->Info.reset(info);
        dib->Pixels.reset(pixels);
    }
    return code;
}
