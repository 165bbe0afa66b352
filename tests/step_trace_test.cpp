// The step trace the benchmarks read: off without its variable, and with it
// one line per step, appended when the trace ends.
#include "framework/StepTrace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

struct Line {
    std::string trace, step;
    double ms = -1;
    long kb = -1;
};

std::vector<Line> ReadLines(const std::wstring& path) {
    std::vector<Line> lines;
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::string text;
    while (std::getline(file, text)) {
        std::istringstream fields(text);
        Line line;
        std::string ms, kb;
        std::getline(fields, line.trace, '\t');
        std::getline(fields, line.step, '\t');
        std::getline(fields, ms, '\t');
        std::getline(fields, kb, '\t');
        line.ms = std::stod(ms);
        line.kb = std::stol(kb);
        lines.push_back(line);
    }
    return lines;
}

class StepTraceFile : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileW(path.c_str());
        SetEnvironmentVariableW(L"TAPESTRA_STEP_TRACE", path.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"TAPESTRA_STEP_TRACE", nullptr);
        DeleteFileW(path.c_str());
    }
    const std::wstring path = TempPath(L"tapestra step trace.txt");
};

TEST_F(StepTraceFile, WithoutTheVariableNothingIsRecordedOrWritten) {
    SetEnvironmentVariableW(L"TAPESTRA_STEP_TRACE", nullptr);
    {
        StepTrace trace(L"start", true);
        EXPECT_FALSE(trace.Enabled());
        trace.Step(L"menus");
    }
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StepTraceFile, StepsAreWrittenInOrderOnceTheTraceEndsAndTracesAppend) {
    {
        StepTrace trace(L"apply");
        ASSERT_TRUE(trace.Enabled());
        trace.Step(L"bitmap written");
        Sleep(20);
        trace.Step(L"日本語の段階");
        EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "written at the end only";
    }
    {
        StepTrace trace(L"change", true);
        trace.Step(L"row selected");
        trace.Finish();
        trace.Step(L"after the end");
    }
    const std::vector<Line> lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].trace, "apply");
    EXPECT_EQ(lines[0].step, "bitmap written");
    EXPECT_EQ(lines[1].step, "日本語の段階");
    EXPECT_GE(lines[1].ms, 15.0) << "the time since the step before";
    EXPECT_LT(lines[0].ms, lines[1].ms);
    EXPECT_EQ(lines[2].trace, "change");
    EXPECT_EQ(lines[2].step, "since the process was created");
    EXPECT_GT(lines[2].ms, 0.0);
    EXPECT_EQ(lines[3].step, "row selected");
    for (const Line& line : lines)
        EXPECT_GT(line.kb, 1000) << "the working set in KB";
}
} // namespace
