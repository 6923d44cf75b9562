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
    std::vector<size_t> Own = {};  // jobs whose asked-for file this program wrote for them
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
    {"a job replaces its own output", {{"a.mkv", "out/a.mp4"}}, {"out/a.mp4"}, false, {"out/a.mp4"}, {0}},
    {"its own output, asked for by an earlier job too",
     {{"b.mkv", "out/a.mp4"}, {"a.mkv", "out/a.mp4"}},
     {"out/a.mp4"},
     false,
     {"out/a_1.mp4", "out/a.mp4"},
     {1}},
    {"its own output does not free the other names",
     {{"a.mkv", "out/a.mp4"}, {"b.mkv", "out/a.mp4"}},
     {"out/a.mp4", "out/a_1.mp4"},
     false,
     {"out/a.mp4", "out/a_2.mp4"},
     {0}},
    {"an input stays an input", {{"out/a.mp4", "out/a.mp4"}}, {"out/a.mp4"}, false, {"out/a_1.mp4"}, {0}},
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
        for (size_t own : c.Own) jobs[own].Own = true;
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

// A row's own output is the file written for that row, as it was written.
TEST(WrittenOutputs, ARowOwnsOnlyTheFileWrittenForIt)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("out"));
    const String in = Utf8ToString(dir.file("a.mkv"));
    const String out = Utf8ToString(dir.file("out/a.mp4"));
    TWrittenOutputs written;
    written.Note(3, in, Utf8ToString(dir.file("out/missing.mp4")));
    EXPECT_FALSE(written.Owns(3, in, Utf8ToString(dir.file("out/missing.mp4"))));
    WriteBytes(dir.file("out/a.mp4"), "converted");
    EXPECT_FALSE(written.Owns(3, in, out));  // not noted yet
    written.Note(3, in, out);
    EXPECT_TRUE(written.Owns(3, in, out));
    EXPECT_TRUE(written.Owns(3, in, Utf8ToString(dir.file("out/../out/a.mp4"))));
    EXPECT_FALSE(written.Owns(4, in, out));                               // another row's slot
    EXPECT_FALSE(written.Owns(3, Utf8ToString(dir.file("b.mkv")), out));  // another input

    // Replaced by another file of the same name, or changed: no longer the program's.
    std::filesystem::remove(dir.file("out/a.mp4"));
    WriteBytes(dir.file("out/a.mp4"), "the user's own");
    EXPECT_FALSE(written.Owns(3, in, out));
    written.Note(3, in, out);
    EXPECT_TRUE(written.Owns(3, in, out));
    WriteBytes(dir.file("out/a.mp4"), "the user's own, edited");
    EXPECT_FALSE(written.Owns(3, in, out));
    std::filesystem::remove(dir.file("out/a.mp4"));
    EXPECT_FALSE(written.Owns(3, in, out));
}

}  // namespace
