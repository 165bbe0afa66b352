#include "SpiHost.h"

#include <cstring>

namespace {
template <typename Proc> Proc Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A value no plug-in returns, so a handle left untouched on failure shows.
HLOCAL Poison() {
    return reinterpret_cast<HLOCAL>(static_cast<INT_PTR>(0x5A5A0));
}
} // namespace

uint32_t DecodedDib::Rgb(uint32_t x, uint32_t y) const {
    const uint8_t* row = bits.data() + stride() * (size_t(header.biHeight) - 1 - y);
    if (header.biBitCount == 8) {
        const RGBQUAD c = colours.at(row[x]);
        return uint32_t(c.rgbRed) << 16 | uint32_t(c.rgbGreen) << 8 | c.rgbBlue;
    }
    const uint8_t* p = row + size_t(x) * (header.biBitCount / 8);
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

uint32_t DecodedDib::Argb(uint32_t x, uint32_t y) const {
    if (header.biBitCount != 32) return 0xFF000000u | Rgb(x, y);
    return uint32_t(bits[stride() * (size_t(header.biHeight) - 1 - y) + size_t(x) * 4 + 3]) << 24 | Rgb(x, y);
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

SpiHost::SpiHost(const std::wstring& fileName) : module_(LoadLibraryW((ProgramFolder() + fileName).c_str())) {
    if (!module_) return;
    pluginInfo_ = Lookup<susie::GetPluginInfoProc>(module_.get(), "GetPluginInfo");
    isSupported_ = Lookup<susie::IsSupportedProc>(module_.get(), "IsSupported");
    pictureInfo_ = Lookup<susie::GetPictureInfoProc>(module_.get(), "GetPictureInfo");
    picture_ = Lookup<susie::GetPictureProc>(module_.get(), "GetPicture");
    preview_ = Lookup<susie::GetPictureProc>(module_.get(), "GetPreview");
    sized_ = Lookup<susie::GetPictureAtSizeProc>(module_.get(), "GetPictureAtSize");
}

bool SpiHost::complete() const {
    return pluginInfo_ && isSupported_ && pictureInfo_ && picture_ && preview_;
}

std::string SpiHost::PluginInfo(int32_t infoNo) const {
    char buffer[256] = {};
    if (pluginInfo_(infoNo, buffer, sizeof(buffer)) <= 0) return {};
    return std::string(buffer, strnlen(buffer, sizeof(buffer)));
}

int32_t SpiHost::PictureInfo(const std::string& path, LONG_PTR offset, susie::PictureInfo& info,
                             uint32_t flag) const {
    return pictureInfo_(path.c_str(), offset, flag, &info);
}

DecodedDib SpiHost::Picture(const std::string& path, LONG_PTR offset, uint32_t flag,
                            susie::ProgressCallback progress, LONG_PTR data) const {
    return Call(picture_, path.c_str(), offset, flag, progress, data);
}

DecodedDib SpiHost::Preview(const std::string& path, LONG_PTR offset, uint32_t flag) const {
    return Call(preview_, path.c_str(), offset, flag, nullptr, 0);
}

DecodedDib SpiHost::PictureFromMemory(const std::vector<uint8_t>& bytes) const {
    return Call(picture_, reinterpret_cast<const char*>(bytes.data()), LONG_PTR(bytes.size()),
                susie::kSourceMemory, nullptr, 0);
}

DecodedDib SpiHost::PreviewFromMemory(const std::vector<uint8_t>& bytes) const {
    return Call(preview_, reinterpret_cast<const char*>(bytes.data()), LONG_PTR(bytes.size()),
                susie::kSourceMemory, nullptr, 0);
}

int32_t SpiHost::PictureInfoFromMemory(const std::vector<uint8_t>& bytes, susie::PictureInfo& info) const {
    return pictureInfo_(reinterpret_cast<const char*>(bytes.data()), LONG_PTR(bytes.size()),
                        susie::kSourceMemory, &info);
}

DecodedDib SpiHost::Call(susie::GetPictureProc proc, const char* path, LONG_PTR offset, uint32_t flag,
                         susie::ProgressCallback progress, LONG_PTR data) const {
    HLOCAL info = Poison();
    HLOCAL bits = Poison();
    const int32_t result = proc(path, offset, flag, &info, &bits, progress, data);
    return Collect(result, info, bits);
}

int32_t SpiHost::SizedQuery(const std::string& path, susie::SizedResult& result) const {
    result.size = sizeof(result);
    return sized_(path.c_str(), 0, 0, nullptr, &result, nullptr, nullptr, nullptr, 0);
}

DecodedDib SpiHost::Sized(const std::string& path, const susie::SizedRequest& request,
                          susie::SizedResult& result, susie::ProgressCallback progress, LONG_PTR data) const {
    result.size = sizeof(result);
    HLOCAL info = Poison();
    HLOCAL bits = Poison();
    const int32_t code = sized_(path.c_str(), 0, 0, &request, &result, &info, &bits, progress, data);
    return Collect(code, info, bits);
}

DecodedDib SpiHost::Collect(int32_t result, HLOCAL info, HLOCAL bits) {
    DecodedDib dib;
    dib.result = result;
    if (dib.result != susie::Success) {
        dib.handlesNullOnFailure = info == nullptr && bits == nullptr;
        if (info && info != Poison()) LocalFree(info);
        if (bits && bits != Poison()) LocalFree(bits);
        return dib;
    }
    if (!info || !bits || info == Poison() || bits == Poison()) {
        dib.result = -101; // success without both blocks
        return dib;
    }
    dib.infoBlockSize = LocalSize(info);
    dib.bitsBlockSize = LocalSize(bits);
    const auto* header = static_cast<const uint8_t*>(LocalLock(info));
    std::memcpy(&dib.header, header, sizeof(dib.header));
    const size_t colours =
        std::min<size_t>(dib.header.biClrUsed, (dib.infoBlockSize - sizeof(dib.header)) / 4);
    dib.colours.resize(colours);
    std::memcpy(dib.colours.data(), header + sizeof(dib.header), colours * sizeof(RGBQUAD));
    LocalUnlock(info);
    const auto* pixels = static_cast<const uint8_t*>(LocalLock(bits));
    dib.bits.assign(pixels, pixels + dib.bitsBlockSize);
    LocalUnlock(bits);
    LocalFree(info);
    LocalFree(bits);
    return dib;
}
