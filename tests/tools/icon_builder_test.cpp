// The icon builder as the build and `make icons` run it: its folder form is exactly the one
// checked in under resources/icons/ (every icon's pixels, nothing more), each icon is an 8-bit
// RGBA PNG of its size, the sheet of all icons is written for people to look at, and bad
// arguments or an unusable folder end with a clear error.
#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"
#include "tools/icon_builder/icon_design.h"

namespace {

int RunBuilder(const std::string& Args)
{
    const std::string cmd = std::string("\"") + VX_ICON_BUILDER + "\" " + Args + " 2>/dev/null";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

std::string IconFolderPath()
{
    const char* src = std::getenv("VX_SOURCE_DIR");
    return std::string(src ? src : ".") + "/resources/icons/";
}

std::vector<uint8_t> Bytes(const std::string& Path)
{
    const std::string s = ReadBytes(Path);
    return {s.begin(), s.end()};
}

}  // namespace

TEST(IconBuilder, TheCheckedInFolderHoldsExactlyTheIconsTheBuilderDraws)
{
    const std::vector<TProgramIcon> icons = DrawProgramIcons();
    size_t glyphs = 0;
    for (const TGlyphListInfo& list : GlyphListInfos()) glyphs += list.Glyphs.size() * (list.Disabled ? 2 : 1);
    ASSERT_EQ(icons.size(), CategoryIconCount + PresetIconCount + glyphs + PictureInfos().size());
    std::set<std::string> expected{"all_icons.png"};
    for (const TProgramIcon& icon : icons) {
        SCOPED_TRACE(icon.Name);
        expected.insert(icon.Name + ".png");
        const TProgramIcon kept = DecodeIconPng(icon.Name, Bytes(IconFolderPath() + icon.Name + ".png"));
        EXPECT_EQ(kept.Size, icon.Size);
        EXPECT_TRUE(kept.Argb == icon.Argb) << icon.Name << " drifted: run `make icons`";
    }
    const TProgramIcon sheet = DrawIconSheet(icons);
    EXPECT_TRUE(DecodeIconPng("all_icons", Bytes(IconFolderPath() + "all_icons.png")).Argb == sheet.Argb)
        << "the sheet drifted: run `make icons`";
    std::set<std::string> kept;
    for (const String& f : ListFiles(Utf8ToString(IconFolderPath()))) kept.insert(StringToUtf8(f));
    EXPECT_EQ(kept, expected);

    // The sheet for people to look at, beside the other screenshots of the test build.
    std::filesystem::create_directories(VX_SCREENSHOT_DIR);
    WriteBytes(std::string(VX_SCREENSHOT_DIR) + "/all_icons.png", [&] {
        const std::vector<uint8_t> png = EncodeIconPng(sheet);
        return std::string(png.begin(), png.end());
    }());
}

TEST(IconBuilder, WritesEveryIconAsAnRgbaPngAndTheSourceOfTheirBytes)
{
    TempDir dir;
    ASSERT_EQ(RunBuilder("--folder " + Quote(dir.file("icons")) + " --source " + Quote(dir.file("icons.cpp"))), 0);
    for (const TProgramIcon& icon : DrawProgramIcons()) {
        const std::vector<uint8_t> png = Bytes(dir.file("icons/" + icon.Name + ".png"));
        ASSERT_GT(png.size(), 26u) << icon.Name;
        EXPECT_EQ(png[24], 8) << icon.Name;  // bit depth
        EXPECT_EQ(png[25], 6) << icon.Name;  // colour type: true colour with alpha
        EXPECT_TRUE(DecodeIconPng(icon.Name, png).Argb == icon.Argb) << icon.Name;
        EXPECT_NE(ReadBytes(dir.file("icons.cpp")).find("{\"" + icon.Name + "\", " + std::to_string(icon.Size) + ","), std::string::npos);
    }
}

TEST(IconBuilder, BadArgumentsAndUnusableFoldersFail)
{
    TempDir dir;
    WriteBytes(dir.file("file"), "x");
    EXPECT_EQ(RunBuilder(""), 2);
    EXPECT_EQ(RunBuilder("--colour blue"), 2);
    EXPECT_EQ(RunBuilder("--folder"), 2);
    EXPECT_EQ(RunBuilder("--folder " + Quote(dir.file("file") + "/icons")), 1);
    EXPECT_EQ(RunBuilder("--source " + Quote(dir.file("file") + "/icons.cpp")), 1);
    EXPECT_EQ(DecodeIconPng("x", {1, 2, 3}).Size, 0);
}

// Each disabled glyph is its enabled glyph's shape in grey: same size and alpha, other colour.
TEST(IconBuilder, DisabledGlyphsAreTheEnabledShapesInGrey)
{
    std::map<std::string, TProgramIcon> byName;
    for (TProgramIcon& icon : DrawProgramIcons()) byName[icon.Name] = icon;
    for (const TGlyphListInfo& list : GlyphListInfos())
        for (const std::string& glyph : list.Glyphs) {
            SCOPED_TRACE(GlyphIconName(list.Prefix, glyph, true));
            const TProgramIcon& on = byName.at(GlyphIconName(list.Prefix, glyph, true));
            EXPECT_EQ(on.Size, list.Size);
            if (!list.Disabled) {
                EXPECT_EQ(byName.count(GlyphIconName(list.Prefix, glyph, false)), 0u);
                continue;
            }
            const TProgramIcon& off = byName.at(GlyphIconName(list.Prefix, glyph, false));
            ASSERT_EQ(off.Size, on.Size);
            bool otherColour = false;
            for (size_t i = 0; i < on.Argb.size(); ++i) {
                EXPECT_EQ(on.Argb[i] >> 24, off.Argb[i] >> 24) << i;
                const uint32_t c = off.Argb[i];
                if (c >> 24 == 255 && (c & 0xFFFFFF) != 0xFFFFFF) {
                    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
                    EXPECT_LE(std::max({r, g, b}) - std::min({r, g, b}), 12) << "not grey at " << i;
                }
                if ((on.Argb[i] & 0xFFFFFF) != (off.Argb[i] & 0xFFFFFF)) otherColour = true;
            }
            EXPECT_TRUE(otherColour);
        }
}

// The larger pictures come last, each at its own size, and none is blank.
TEST(IconBuilder, DrawsTheLargerPicturesAtTheirSizes)
{
    const std::vector<TProgramIcon> icons = DrawProgramIcons();
    const std::vector<TPictureInfo> pictures = PictureInfos();
    ASSERT_GE(icons.size(), pictures.size());
    std::set<int> sizes;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const TProgramIcon& icon = icons[icons.size() - pictures.size() + i];
        SCOPED_TRACE(pictures[i].Name);
        EXPECT_EQ(icon.Name, pictures[i].Name);
        EXPECT_EQ(icon.Size, pictures[i].Size);
        sizes.insert(icon.Size);
        const size_t opaque = static_cast<size_t>(
            std::count_if(icon.Argb.begin(), icon.Argb.end(), [](uint32_t p) { return p >> 24 == 255; }));
        EXPECT_GT(opaque, icon.Argb.size() / 10);
        EXPECT_LT(opaque, icon.Argb.size());  // soft edges, not a square
    }
    EXPECT_EQ(sizes, (std::set<int>{48, 80}));
}
