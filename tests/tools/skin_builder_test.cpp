// The skin builder as the build and `make skin` run it: its folder form is exactly the one checked
// in under resources/ (the INI text and every bitmap, nothing more), its container is the one
// linked into the program, and bad arguments or an unusable folder end with a clear error.
#include <gtest/gtest.h>

#include <cstdlib>

#include "default_skin_test_support.h"
#include "platform/framework/core/files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

int RunBuilder(const std::string& Args)
{
    const std::string cmd = std::string("\"") + VX_SKIN_BUILDER + "\" " + Args + " 2>/dev/null";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

TEST(SkinBuilder, WritesTheCheckedInFolderAndTheLinkedContainer)
{
    TempDir dir;
    const std::string out = dir.file("skin");
    std::filesystem::create_directories(out);
    // A stale INI with a section of its own: the builder writes its INI anew, not into it.
    WriteBytes(out + "/skin.ini", "[EXTRA]\r\nkey=1\r\n");
    ASSERT_EQ(RunBuilder("--folder " + Quote(out) + " --container " + Quote(dir.file("light.skin"))), 0);

    const std::vector<String> made = ListFiles(Utf8ToString(out));
    const std::vector<String> kept = ListFiles(Utf8ToString(SkinFolderPath()));
    EXPECT_EQ(made, kept);
    for (const String& f : made) {
        const std::string name = StringToUtf8(f);
        EXPECT_TRUE(ReadBytes(out + "/" + name) == ReadBytes(SkinFolderPath() + name)) << name << " drifted";
    }
    const std::string container = ReadBytes(dir.file("light.skin"));
    const std::span<const uint8_t> linked = DefaultSkinContainer();
    EXPECT_TRUE(container == std::string(linked.begin(), linked.end()));
    // The skin's bytes seed the fuzz targets of the skin readers.
    const std::string corpus = std::string(std::getenv("VX_SOURCE_DIR")) + "/tests/fuzz/corpus/";
    EXPECT_TRUE(ReadBytes(corpus + "compressed_skin/light.skn") == container);
    EXPECT_TRUE(ReadBytes(corpus + "skin_ini/light.ini") == ReadBytes(SkinFolderPath() + "skin.ini"));
}

TEST(SkinBuilder, BadArgumentsAndUnusableFoldersFail)
{
    TempDir dir;
    WriteBytes(dir.file("file"), "x");
    EXPECT_EQ(RunBuilder(""), 2);
    EXPECT_EQ(RunBuilder("--colour blue"), 2);
    EXPECT_EQ(RunBuilder("--folder"), 2);
    // A folder that cannot be made, a container that cannot be written.
    EXPECT_EQ(RunBuilder("--folder " + Quote(dir.file("file") + "/skin")), 1);
    EXPECT_EQ(RunBuilder("--container " + Quote(dir.file("file") + "/light.skin")), 1);
}

}  // namespace
