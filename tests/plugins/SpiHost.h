#pragma once
// Calls an image plug-in the way a host does: loaded by file name from the
// program's folder, entry points looked up by name, stdcall.
#include "framework/Handle.h"
#include "plugins/SizedPictureApi.h"

#include <cstdint>
#include <string>
#include <vector>

// What GetPicture or GetPreview returned, copied out of the two blocks
// (which are freed at once, as the host does).
struct DecodedDib {
    int32_t result = -100;
    bool handlesNullOnFailure = false;
    BITMAPINFOHEADER header{};
    std::vector<RGBQUAD> colours;
    std::vector<uint8_t> bits;
    size_t infoBlockSize = 0;
    size_t bitsBlockSize = 0;

    size_t stride() const { return (size_t(header.biWidth) * header.biBitCount + 31) / 32 * 4; }
    // 0xRRGGBB of the pixel at (x, y), y counted from the top of the picture:
    // the rows are stored bottom-up.
    uint32_t Rgb(uint32_t x, uint32_t y) const;
    // 0xAARRGGBB: the alpha byte of a 32-bit DIB, else 0xFF.
    uint32_t Argb(uint32_t x, uint32_t y) const;
};

class SpiHost {
  public:
    explicit SpiHost(const std::wstring& fileName);

    bool loaded() const { return static_cast<bool>(module_); }
    // True when all five entry points are exported by their plain names.
    bool complete() const;

    // The text number infoNo, read through a 256-byte buffer.
    std::string PluginInfo(int32_t infoNo) const;
    int32_t RawPluginInfo(int32_t infoNo, char* buffer, int32_t length) const {
        return pluginInfo_(infoNo, buffer, length);
    }
    int32_t IsSupported(const char* name, void* data) const { return isSupported_(name, data); }
    int32_t PictureInfo(const std::string& path, LONG_PTR offset, susie::PictureInfo& info,
                        uint32_t flag = 0) const;
    DecodedDib Picture(const std::string& path, LONG_PTR offset = 0, uint32_t flag = 0,
                       susie::ProgressCallback progress = nullptr, LONG_PTR data = 0) const;
    DecodedDib Preview(const std::string& path, LONG_PTR offset = 0, uint32_t flag = 0) const;
    // The memory source: a pointer to the whole picture and its length.
    DecodedDib PictureFromMemory(const std::vector<uint8_t>& bytes) const;
    DecodedDib PreviewFromMemory(const std::vector<uint8_t>& bytes) const;
    int32_t PictureInfoFromMemory(const std::vector<uint8_t>& bytes, susie::PictureInfo& info) const;

    // GetPictureAtSize, which only our plug-ins have: the query without a
    // DIB, and the decode at a size.
    bool hasSized() const { return sized_ != nullptr; }
    int32_t SizedQuery(const std::string& path, susie::SizedResult& result) const;
    DecodedDib Sized(const std::string& path, const susie::SizedRequest& request, susie::SizedResult& result,
                     susie::ProgressCallback progress = nullptr, LONG_PTR data = 0) const;

  private:
    DecodedDib Call(susie::GetPictureProc proc, const char* path, LONG_PTR offset, uint32_t flag,
                    susie::ProgressCallback progress, LONG_PTR data) const;
    static DecodedDib Collect(int32_t result, HLOCAL info, HLOCAL bits);

    UniqueModule module_;
    susie::GetPluginInfoProc pluginInfo_ = nullptr;
    susie::IsSupportedProc isSupported_ = nullptr;
    susie::GetPictureInfoProc pictureInfo_ = nullptr;
    susie::GetPictureProc picture_ = nullptr;
    susie::GetPictureProc preview_ = nullptr;
    susie::GetPictureAtSizeProc sized_ = nullptr;
};

// The folder of the running test program, where the build puts the plug-ins.
std::wstring ProgramFolder();
