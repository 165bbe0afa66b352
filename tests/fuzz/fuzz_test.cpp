// Damaged pictures of every format the program reads, through the picture
// component (as the main window loads them) and straight into the plug-ins'
// exports. Nothing may crash or hang (5 s per file, else the watchdog ends
// the run and names the case), no load may allocate past the documented
// limit, and every failure is reported with its message and code.
//
// TAPESTRA_FUZZ_COUNT files per format (default 100): the first half from the
// fixed seed, the rest from a new seed printed at the start (TAPESTRA_FUZZ_SEED
// replays it). Files under tests/fuzz/regressions are replayed on every run.
#include "../picture/PictureFiles.h"
#include "../picture/SamplePictures.h"
#include "Mutator.h"
#include "Watchdog.h"
#include "framework/DibFile.h"
#include "framework/Exception.h"
#include "framework/TApplication.h"
#include "framework/TForm.h"
#include "framework/Text.h"
#include "plugins/PluginCases.h"
#include "plugins/SpiHost.h"
#include "plugins/common/DeclaredSize.h"
#include "support/FormFixture.h"
#include "support/ProcessFigures.h"
#include "support/ScriptedModalUI.h"
#include "wallpaper/PictureRules.h"
#include "wallpaper/TAll.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

namespace {

using fuzz::Bytes;
using fuzz::Format;

constexpr uint32_t kFixedSeed = 20261207;
// The documented ceiling for one load: 64 megapixels held by the decoder,
// the decoded bitmap and the screen copy, with room for the loader's own use.
constexpr size_t kMemoryLimit = size_t{1} << 30;

struct FormatCase {
    Format format;
    const wchar_t* extension;
    const char* name;
    const PluginCase* plugin; // null: the framework's loader
};

const FormatCase kFormats[] = {
    {Format::Bmp, L".bmp", "BMP", nullptr},  {Format::Ico, L".ico", "ICO", nullptr},
    {Format::Wmf, L".wmf", "WMF", nullptr},  {Format::Emf, L".emf", "EMF", nullptr},
    {Format::Jpeg, L".jpg", "JPEG", &kJpeg}, {Format::Gif, L".gif", "GIF", &kGif},
    {Format::Tiff, L".tif", "TIFF", &kTiff}, {Format::Png, L".png", "PNG", &kPng},
};

Bytes Original(Format format) {
    using namespace pictest;
    switch (format) {
    case Format::Bmp: {
        std::vector<RGBQUAD> colours;
        for (int i = 0; i < 256; ++i)
            colours.push_back(
                {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0});
        return MakeBmp(40, 30, 8, colours, [](int x, int y) { return (x * 5 + y) % 256u; }).Bytes();
    }
    case Format::Ico:
        return IconFile();
    case Format::Wmf:
        return PlaceableMetafile();
    case Format::Emf:
        return EnhancedMetafile();
    case Format::Jpeg:
        return testimg::EncodeRgb(GUID_ContainerFormatJpeg, 48, 32, testimg::Gradient);
    case Format::Gif:
        return testimg::EncodeIndexed(GUID_ContainerFormatGif, 40, 30, kGifColours, GifIndex);
    case Format::Tiff:
        return testimg::EncodeRgb(GUID_ContainerFormatTiff, 32, 24, testimg::Pattern);
    case Format::Png:
        return testimg::EncodeRgb(GUID_ContainerFormatPng, 36, 20, testimg::Pattern);
    }
    return {};
}

std::wstring ResultText(int code) {
    static const std::map<int, std::wstring> texts = {{2, L"未知のフォーマット"},
                                                      {3, L"データが壊れている"},
                                                      {4, L"メモリーが確保出来ない"},
                                                      {5, L"メモリーエラー"},
                                                      {6, L"ファイルリードエラー"}};
    auto found = texts.find(code);
    return found == texts.end() ? L"その他のエラー" : found->second;
}

// What our plug-ins may answer for a damaged file: the format not theirs,
// the data broken, too large, or not readable.
bool ExpectedFailure(int code) {
    return code == susie::UnknownFormat || code == susie::BrokenData || code == susie::NoMemory ||
           code == susie::MemoryError || code == susie::FileReadError;
}

class PictureFuzz : public FormFixture {
  protected:
    void SetUp() override {
        MakeForm();
        form->SetBounds(0, 0, 400, 300);
        all = &form->Own<TAll>(*form);
        baseline = figures::PeakWorkingSet();
    }

    // One file through the picture component, as the main window loads it.
    void ThroughComponent(const FormatCase& f, const std::wstring& path, const std::string& what) {
        modal->Messages.clear();
        try {
            all->SetPictureName(path);
        } catch (const Exception& e) {
            ADD_FAILURE() << what << ": the loader raised past the component";
            return;
        }
        const int error = all->Error();
        ++outcomes[f.name][error];
        if (error == 0) {
            EXPECT_EQ(modal->Messages.size(), 0u) << what;
            ASSERT_FALSE(all->Picture().Empty()) << what;
            EXPECT_LE(all->Picture().Width(), kMaxPictureSide) << what;
            // The apply step's use of it: rendered and written as a BMP file.
            try {
                all->Picture().SaveToFile(folder / L"applied.bmp");
            } catch (const Exception& e) {
                ADD_FAILURE() << what << ": an accepted picture cannot be written: " << WideToUtf8(e.Message);
            }
        } else {
            if (f.plugin)
                EXPECT_TRUE(ExpectedFailure(error)) << what << ": code " << error;
            else
                EXPECT_EQ(error, 2) << what;
            ASSERT_EQ(modal->Messages.size(), 1u) << what;
            EXPECT_EQ(modal->Messages[0], ResultText(error) + L" [" + path + L"]") << what;
            EXPECT_TRUE(all->PictureName().empty()) << what;
            EXPECT_TRUE(all->Picture().Empty()) << what;
        }
        all->SetPictureName(L"");
    }

    static void ExpectDib(const DecodedDib& dib, const std::string& what) {
        if (dib.result != susie::Success) {
            EXPECT_TRUE(ExpectedFailure(dib.result)) << what << ": code " << dib.result;
            EXPECT_TRUE(dib.handlesNullOnFailure) << what;
            return;
        }
        const BITMAPINFOHEADER& h = dib.header;
        const uint64_t height = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
        EXPECT_TRUE(h.biWidth > 0 && height > 0 && spi::WithinLimits(h.biWidth, height)) << what;
        EXPECT_TRUE(h.biBitCount == 8 || h.biBitCount == 24) << what;
        EXPECT_GE(dib.bitsBlockSize, dib.stride() * height) << what;
        EXPECT_GE(dib.infoBlockSize, sizeof(h) + h.biClrUsed * sizeof(RGBQUAD)) << what;
    }

    // The same bytes straight into every export, from the file and from memory.
    void ThroughExports(const FormatCase& f, const SpiHost& host, const std::wstring& path,
                        const Bytes& bytes, const std::string& what) {
        const std::string ansi = testimg::Ansi(path);
        Bytes head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 2048));
        head.resize(2048);
        const int32_t supported = host.IsSupported(ansi.c_str(), head.data());
        EXPECT_TRUE(supported == 0 || supported == 1) << what;
        for (bool memory : {false, true}) {
            const std::string source = what + (memory ? " from memory" : " from the file");
            susie::PictureInfo info{};
            const int32_t result =
                memory ? host.PictureInfoFromMemory(bytes, info) : host.PictureInfo(ansi, 0, info);
            if (result == susie::Success)
                EXPECT_TRUE(info.width > 0 && info.height > 0 && spi::WithinLimits(info.width, info.height))
                    << source;
            else
                EXPECT_TRUE(ExpectedFailure(result)) << source << ": GetPictureInfo " << result;
            const DecodedDib picture = memory ? host.PictureFromMemory(bytes) : host.Picture(ansi);
            if (!memory) ++outcomes[std::string(f.name) + " exports"][picture.result];
            ExpectDib(picture, source + ": GetPicture");
            ExpectDib(memory ? host.PreviewFromMemory(bytes) : host.Preview(ansi), source + ": GetPreview");
        }
        susie::SizedResult sized{};
        const int32_t query = host.SizedQuery(ansi, sized);
        EXPECT_TRUE(query == susie::Success || ExpectedFailure(query))
            << what << ": the size query " << query;
        const DecodedDib small = host.Sized(ansi, {sizeof(susie::SizedRequest), 64, 48, 0, 0, 0, 0}, sized);
        if (small.result == susie::Success)
            EXPECT_TRUE(small.header.biWidth == 64 && small.header.biHeight == 48 &&
                        (small.header.biBitCount == 24 || small.header.biBitCount == 32))
                << what;
        else
            EXPECT_TRUE(ExpectedFailure(small.result) && small.handlesNullOnFailure)
                << what << ": GetPictureAtSize " << small.result;
    }

    void RunCase(const FormatCase& f, const SpiHost* host, const Bytes& bytes, const std::string& what) {
        const std::wstring path = folder / (L"fuzz" + std::wstring(f.extension));
        pictest::WriteBytes(path, bytes);
        watchdog.Arm(what, path);
        if (ComponentReads(f)) ThroughComponent(f, path, what);
        if (host) ThroughExports(f, *host, path, bytes, what);
        watchdog.Disarm();
        EXPECT_LT(figures::PeakWorkingSet() - baseline, kMemoryLimit) << what;
    }

    // Formats the component routes to a loader; the exports are fuzzed either way.
    static bool ComponentReads(const FormatCase& f) {
        return PictureKindOf(std::wstring(L"x") + f.extension).has_value();
    }

    // After damaged files the component still loads a good one.
    void ExpectGoesOn(const FormatCase& f, const Bytes& original) {
        if (!ComponentReads(f)) return;
        const std::wstring path = folder / (L"good" + std::wstring(f.extension));
        pictest::WriteBytes(path, original);
        all->SetPictureName(path);
        EXPECT_EQ(all->Error(), 0) << f.name << ": a good file after damaged ones";
        EXPECT_FALSE(all->Picture().Empty()) << f.name;
        all->SetPictureName(L"");
    }

    TAll* all = nullptr;
    pictest::ScratchFolder folder{L"fuzz_test"};
    fuzz::Watchdog watchdog{5000};
    size_t baseline = 0;
    std::map<std::string, std::map<int, int>> outcomes;
};

} // namespace

TEST_F(PictureFuzz, DamagedFilesOfEveryFormatAreRefusedCleanly) {
    const uint32_t count = figures::EnvNumber("TAPESTRA_FUZZ_COUNT", 100);
    const uint32_t newSeed = figures::EnvNumber(
        "TAPESTRA_FUZZ_SEED", static_cast<uint32_t>(GetTickCount64() ^ (GetCurrentProcessId() << 16)));
    std::printf(
        "fuzz: %u files per format, seeds %u (fixed) and %u (new; replay with TAPESTRA_FUZZ_SEED=%u)\n",
        count, kFixedSeed, newSeed, newSeed);
    std::fflush(stdout);
    for (const FormatCase& f : kFormats) {
        const Bytes original = Original(f.format);
        ASSERT_FALSE(original.empty()) << f.name;
        const fuzz::Mutator mutator(f.format, original);
        std::unique_ptr<SpiHost> host;
        if (f.plugin) {
            host = std::make_unique<SpiHost>(f.plugin->file);
            ASSERT_TRUE(host->loaded()) << f.name;
        }
        ExpectGoesOn(f, original);
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t seed = i < count - count / 2 ? kFixedSeed : newSeed;
            std::mt19937 random = fuzz::CaseRandom(seed, f.format, i);
            std::string applied;
            const Bytes bytes = mutator.Mutate(random, applied);
            RunCase(f, host.get(), bytes,
                    std::string(f.name) + " seed " + std::to_string(seed) + " case " + std::to_string(i) +
                        " (" + applied + ")");
            if (i % 10 == 9) ExpectGoesOn(f, original);
            if (HasFatalFailure()) return;
        }
        for (const std::string& through : {std::string(f.name), std::string(f.name) + " exports"}) {
            if (outcomes[through].empty()) continue;
            std::printf("fuzz: %-12s", through.c_str());
            for (auto [code, times] : outcomes[through])
                std::printf("  result %d: %d", code, times);
            std::printf("\n");
        }
    }
    std::printf("fuzz: peak working set %zu KB above the start\n",
                (figures::PeakWorkingSet() - baseline) / 1024);
}

// Inputs that once crashed or hung a loader, kept as files.
TEST_F(PictureFuzz, KeptRegressionFilesAreRefusedCleanly) {
    const std::filesystem::path kept = FUZZ_REGRESSIONS;
    ASSERT_TRUE(std::filesystem::exists(kept)) << kept;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kept)) {
        const std::wstring extension = AsciiUpper(entry.path().extension().wstring());
        for (const FormatCase& f : kFormats) {
            if (AsciiUpper(f.extension) != extension) continue;
            std::unique_ptr<SpiHost> host;
            if (f.plugin) host = std::make_unique<SpiHost>(f.plugin->file);
            RunCase(f, host.get(), pictest::ReadBytes(entry.path().wstring()),
                    entry.path().filename().string());
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}
