// The output names a queue writes to, settled just before it starts: a table of jobs, files
// already on disk and the overwrite choice, each with the names expected.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/queue_outputs.h"
#include "platform/framework/core/strings.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

struct TOutputCase {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Jobs;  // input, output (relative to the folder)
    std::vector<std::string> Existing;                      // files made first
    bool Overwrite;
    std::vector<std::string> Expected;
};

const TOutputCase OutputCases[] = {
    {"free names stay", {{"a.mkv", "out/a.mp4"}, {"b.mkv", "out/b.mp4"}}, {}, false, {"out/a.mp4", "out/b.mp4"}},
    {"two jobs, one name", {{"a.mkv", "out/a.mp4"}, {"x/a.mkv", "out/a.mp4"}}, {}, false, {"out/a.mp4", "out/a_1.mp4"}},
    {"three jobs, one name",
     {{"a.mkv", "out/a.mp4"}, {"b.mkv", "out/a.mp4"}, {"c.mkv", "out/a.mp4"}},
     {},
     true,
     {"out/a.mp4", "out/a_1.mp4", "out/a_2.mp4"}},
    {"existing file kept", {{"a.mkv", "out/a.mp4"}}, {"out/a.mp4", "out/a_1.mp4"}, false, {"out/a_2.mp4"}},
    {"existing file overwritten", {{"a.mkv", "out/a.mp4"}}, {"out/a.mp4"}, true, {"out/a.mp4"}},
    {"an input is never written", {{"out/a.mp4", "out/a.mp4"}}, {"out/a.mp4"}, true, {"out/a_1.mp4"}},
    {"another job's input neither", {{"a.mkv", "b.mkv"}, {"b.mkv", "c.mkv"}}, {"b.mkv"}, true, {"b_1.mkv", "c.mkv"}},
    {"one file by two spellings",
     {{"a.mkv", "out/a.mp4"}, {"b.mkv", "out/../out/a.mp4"}},
     {},
     false,
     {"out/a.mp4", "out/../out/a_1.mp4"}},
    {"no extension", {{"a.mkv", "out/a"}, {"b.mkv", "out/a"}}, {}, false, {"out/a", "out/a_1"}},
};

TEST(QueueOutputs, SettleNamesBeforeTheStart)
{
    for (const TOutputCase& c : OutputCases) {
        TempDir dir;
        std::filesystem::create_directories(dir.file("out"));
        std::filesystem::create_directories(dir.file("x"));
        for (const std::string& file : c.Existing) WriteBytes(dir.file(file), "old");
        std::vector<TQueueJobFiles> jobs;
        for (const auto& [input, output] : c.Jobs)
            jobs.push_back({Utf8ToString(dir.file(input)), Utf8ToString(dir.file(output))});
        const std::vector<String> outputs = ResolveQueueOutputs(jobs, c.Overwrite);
        ASSERT_EQ(outputs.size(), c.Expected.size()) << c.Name;
        for (size_t i = 0; i < outputs.size(); ++i)
            EXPECT_EQ(StringToUtf8(outputs[i]), dir.file(c.Expected[i])) << c.Name << ", job " << i;
        // Settling names creates nothing and leaves existing files as they were.
        EXPECT_FALSE(std::filesystem::exists(dir.file("out/a_1.mp4")) &&
                     std::find(c.Existing.begin(), c.Existing.end(), "out/a_1.mp4") == c.Existing.end())
            << c.Name;
        for (const std::string& file : c.Existing) EXPECT_EQ(ReadBytes(dir.file(file)), "old") << c.Name;
    }
}

}  // namespace
