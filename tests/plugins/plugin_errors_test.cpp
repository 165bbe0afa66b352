// Bad input gives result codes, never a crash, and no memory blocks; the
// text entries, content detection, progress and COM state of the plug-ins.
#include "PluginCases.h"
#include "SpiHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {
using testimg::Bytes;
using testimg::TempFile;

class PluginErrors : public ::testing::TestWithParam<PluginCase> {
  protected:
    PluginErrors() : host(GetParam().file) {}
    void SetUp() override { ASSERT_TRUE(host.loaded() && host.complete()); }

    std::wstring FileName(const wchar_t* stem) const { return stem + std::wstring(GetParam().extension); }

    // Every entry that reads a picture gives `code` and no blocks.
    void ExpectEveryCallFails(const std::string& path, int32_t code) const {
        const DecodedDib picture = host.Picture(path);
        EXPECT_EQ(picture.result, code) << "GetPicture";
        EXPECT_TRUE(picture.handlesNullOnFailure) << "GetPicture";
        const DecodedDib preview = host.Preview(path);
        EXPECT_EQ(preview.result, code) << "GetPreview";
        EXPECT_TRUE(preview.handlesNullOnFailure) << "GetPreview";
        susie::PictureInfo info{};
        EXPECT_EQ(host.PictureInfo(path, 0, info), code) << "GetPictureInfo";
    }

    SpiHost host;
};

TEST_P(PluginErrors, MissingFileIsAReadError) {
    ExpectEveryCallFails(testimg::Ansi(testimg::TempFolder() + FileName(L"does-not-exist")),
                         susie::FileReadError);
    ExpectEveryCallFails("", susie::FileReadError);
}

TEST_P(PluginErrors, EmptyFileIsAnUnknownFormat) {
    TempFile file(FileName(L"empty"), {});
    ExpectEveryCallFails(file.ansi(), susie::UnknownFormat);
}

TEST_P(PluginErrors, GarbageIsAnUnknownFormat) {
    Bytes garbage(4096);
    uint32_t seed = 12345;
    for (auto& b : garbage)
        b = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    TempFile file(FileName(L"garbage"), garbage);
    ExpectEveryCallFails(file.ansi(), susie::UnknownFormat);
}

TEST_P(PluginErrors, OtherFormatsAreUnknown) {
    for (const PluginCase& other : kAllPlugins) {
        if (other.container == GetParam().container) continue;
        SCOPED_TRACE(other.name);
        TempFile file(FileName(L"other"), Sample(other, 10, 8));
        ExpectEveryCallFails(file.ansi(), susie::UnknownFormat);
    }
}

TEST_P(PluginErrors, HeadWithoutPictureIsBrokenData) {
    const Bytes whole = Sample(GetParam(), 33, 17);
    for (size_t length : {size_t(8), size_t(16), size_t(30)}) {
        SCOPED_TRACE(length);
        TempFile file(FileName(L"head"), Bytes(whole.begin(), whole.begin() + length));
        ExpectEveryCallFails(file.ansi(), susie::BrokenData);
    }
}

TEST_P(PluginErrors, TruncatedPictureIsBrokenData) {
    const Bytes whole = Sample(GetParam(), 64, 48);
    for (size_t length = 32; length < whole.size(); length += std::max<size_t>(1, whole.size() / 23)) {
        SCOPED_TRACE(length);
        TempFile file(FileName(L"truncated"), Bytes(whole.begin(), whole.begin() + length));
        const DecodedDib picture = host.Picture(file.ansi());
        EXPECT_EQ(picture.result, susie::BrokenData);
        EXPECT_TRUE(picture.handlesNullOnFailure);
        const DecodedDib preview = host.Preview(file.ansi());
        EXPECT_EQ(preview.result, susie::BrokenData);
        EXPECT_TRUE(preview.handlesNullOnFailure);
    }
}

TEST_P(PluginErrors, UnknownSourceKindIsNotImplemented) {
    TempFile file(FileName(L"kind"), Sample(GetParam(), 4, 4));
    const DecodedDib dib = host.Picture(file.ansi(), 0, 2);
    EXPECT_EQ(dib.result, susie::NotImplemented);
    EXPECT_TRUE(dib.handlesNullOnFailure);
    EXPECT_EQ(host.Picture(file.ansi(), 0, 0x100).result, susie::Success)
        << "only the low bits choose the source";
}

TEST_P(PluginErrors, NegativeOffsetIsAReadError) {
    TempFile file(FileName(L"negative"), Sample(GetParam(), 4, 4));
    EXPECT_EQ(host.Picture(file.ansi(), -1).result, susie::FileReadError);
}

TEST_P(PluginErrors, OffsetBeyondTheEndIsAnUnknownFormat) {
    TempFile file(FileName(L"beyond"), Sample(GetParam(), 4, 4));
    EXPECT_EQ(host.Picture(file.ansi(), 1 << 20).result, susie::UnknownFormat);
}

TEST_P(PluginErrors, EmptyMemoryIsAnUnknownFormat) {
    const DecodedDib dib = host.PictureFromMemory({});
    EXPECT_TRUE(dib.result == susie::UnknownFormat || dib.result == susie::MemoryError) << dib.result;
    EXPECT_TRUE(dib.handlesNullOnFailure);
}

// GetPluginInfo

TEST_P(PluginErrors, PluginInfoTexts) {
    EXPECT_EQ(host.PluginInfo(0), "00IN");
    EXPECT_NE(host.PluginInfo(1).find(GetParam().name), std::string::npos) << host.PluginInfo(1);
    EXPECT_EQ(host.PluginInfo(2), GetParam().patterns);
    EXPECT_EQ(host.PluginInfo(3), GetParam().name);
    char buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(host.RawPluginInfo(4, buffer, sizeof(buffer)), 0);
    EXPECT_EQ(host.RawPluginInfo(-1, buffer, sizeof(buffer)), 0);
    EXPECT_EQ(host.RawPluginInfo(0, buffer, sizeof(buffer)), 4);
    EXPECT_EQ(host.RawPluginInfo(2, buffer, sizeof(buffer)), int32_t(std::strlen(GetParam().patterns)));
}

TEST_P(PluginErrors, PluginInfoNeverWritesPastTheBuffer) {
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(host.RawPluginInfo(0, buffer, 3), 2);
    EXPECT_EQ(std::string(buffer, 4), std::string("00\0#", 4));

    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(host.RawPluginInfo(2, buffer, 1), 0);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0#", 2));

    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(host.RawPluginInfo(1, buffer, 0), 0);
    EXPECT_EQ(host.RawPluginInfo(1, nullptr, 100), 0);
    EXPECT_EQ(buffer[0], '#');

    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(host.RawPluginInfo(0, buffer, 5), 4) << "exactly room for the text and its terminator";
    EXPECT_EQ(std::string(buffer, 6), std::string("00IN\0#", 6));
}

// IsSupported

TEST_P(PluginErrors, IsSupportedLooksAtTheContentInMemory) {
    for (const PluginCase& other : kAllPlugins) {
        SCOPED_TRACE(other.name);
        Bytes head = Sample(other, 10, 8);
        head.resize(std::max<size_t>(head.size(), 2048));
        const bool own = other.container == GetParam().container;
        // The name says nothing: a wrong extension must not matter.
        EXPECT_EQ(host.IsSupported("picture.bmp", head.data()) != 0, own);
    }
    Bytes zeros(2048, 0);
    EXPECT_EQ(host.IsSupported("picture.jpg", zeros.data()), 0);
}

TEST_P(PluginErrors, IsSupportedReadsAnOpenFileAndKeepsItsPosition) {
    for (const PluginCase& other : kAllPlugins) {
        SCOPED_TRACE(other.name);
        TempFile file(L"handle.dat", Sample(other, 10, 8));
        HANDLE handle = CreateFileW(file.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        UniqueKernelHandle owner(handle);
        ASSERT_EQ(reinterpret_cast<ULONG_PTR>(handle) & ~ULONG_PTR(0xFFFF), 0u)
            << "handles are small numbers";
        const bool own = other.container == GetParam().container;
        EXPECT_EQ(host.IsSupported(nullptr, handle) != 0, own);
        EXPECT_EQ(SetFilePointer(handle, 0, nullptr, FILE_CURRENT), 0u);
    }
    TempFile empty(L"handle-empty.dat", {});
    UniqueKernelHandle handle(CreateFileW(empty.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(host.IsSupported(nullptr, handle.get()), 0);
}

// Progress and cancelling

struct ProgressLog {
    std::vector<std::pair<int, int>> calls;
    size_t cancelAt = SIZE_MAX;
};

int __stdcall Record(int done, int total, LONG_PTR data) {
    auto* log = reinterpret_cast<ProgressLog*>(data);
    log->calls.emplace_back(done, total);
    return log->calls.size() > log->cancelAt ? 1 : 0;
}

TEST_P(PluginErrors, ProgressRunsFromZeroToTheTotal) {
    TempFile file(FileName(L"progress"), Sample(GetParam(), 300, 400));
    ProgressLog log;
    ASSERT_EQ(host.Picture(file.ansi(), 0, 0, Record, reinterpret_cast<LONG_PTR>(&log)).result,
              susie::Success);
    ASSERT_GE(log.calls.size(), 2u);
    EXPECT_EQ(log.calls.front().first, 0);
    EXPECT_EQ(log.calls.back().first, log.calls.back().second);
    for (size_t i = 1; i < log.calls.size(); ++i) {
        EXPECT_GE(log.calls[i].first, log.calls[i - 1].first);
        EXPECT_EQ(log.calls[i].second, log.calls[0].second);
    }
}

TEST_P(PluginErrors, ProgressCanCancel) {
    TempFile file(FileName(L"cancel"), Sample(GetParam(), 300, 400));
    for (size_t cancelAt : {size_t(0), size_t(1)}) {
        ProgressLog log;
        log.cancelAt = cancelAt;
        const DecodedDib dib = host.Picture(file.ansi(), 0, 0, Record, reinterpret_cast<LONG_PTR>(&log));
        EXPECT_EQ(dib.result, susie::Cancelled);
        EXPECT_TRUE(dib.handlesNullOnFailure);
        EXPECT_EQ(log.calls.size(), cancelAt + 1) << "no call after the one that cancelled";
    }
}

// COM: the plug-in leaves the calling thread's COM state as it found it.

TEST_P(PluginErrors, ComStateOfTheCallerIsKept) {
    TempFile file(FileName(L"com"), Sample(GetParam(), 10, 8));
    const std::string path = file.ansi();
    auto onThread = [&](DWORD apartment) {
        HRESULT before = S_OK, after = S_OK;
        int32_t result = -100;
        std::thread worker([&] {
            if (apartment != DWORD(-1)) before = CoInitializeEx(nullptr, apartment);
            result = host.Picture(path).result;
            after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(after)) CoUninitialize();
            if (apartment != DWORD(-1) && SUCCEEDED(before)) CoUninitialize();
        });
        worker.join();
        EXPECT_EQ(result, susie::Success);
        return after;
    };
    EXPECT_EQ(onThread(DWORD(-1)), S_OK) << "COM is uninitialised again after the call";
    EXPECT_EQ(onThread(COINIT_MULTITHREADED), S_FALSE) << "the caller's apartment stays";
    EXPECT_EQ(onThread(COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE) << "the caller's apartment stays";
}

INSTANTIATE_TEST_SUITE_P(AllFormats, PluginErrors, testing::ValuesIn(kAllPlugins),
                         [](const auto& info) { return CaseName(info.param); });

TEST(PluginExports, EveryPluginExportsTheFiveEntryPoints) {
    for (const PluginCase& c : kAllPlugins) {
        SpiHost host(c.file);
        EXPECT_TRUE(host.loaded()) << c.name;
        EXPECT_TRUE(host.complete()) << c.name;
    }
}

} // namespace
