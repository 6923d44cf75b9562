#include "platform/framework/core/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/string_list.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

TEST(IniFile, RoundTripKeepsOtherSectionsAndComments)
{
    TempDir dir;
    const std::string path = dir.file("option.ini");
    WriteBytes(path, "; settings\n[OutPath]\nPath=/home/u/输出\n\n[Skin]\nIndex=2\n");
    TIniFile ini(dir.File(L"option.ini"));
    EXPECT_EQ(ini.ReadString(L"outpath", L"PATH", L"Error"), L"/home/u/输出");
    EXPECT_EQ(ini.ReadInteger(L"Skin", L"Index", -1), 2);
    ini.WriteString(L"Skin", L"Index", L"3");
    ini.WriteString(L"SnapShot", L"Path", L"/tmp/快照");
    ini.WriteString(L"OutPath", L"Overwrite", L"1");
    EXPECT_EQ(
        ReadBytes(path),
        "; settings\n[OutPath]\nPath=/home/u/输出\nOverwrite=1\n\n[Skin]\nIndex=3\n\n[SnapShot]\nPath=/tmp/快照\n");
}

TEST(IniFile, OddInput)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* want;
    };
    const Case cases[] = {
        {"nosection", "Path=x\n", L"OutPath", L"Path", L"Error"},
        {"dupkeys", "[A]\nk=first\nk=second\n", L"A", L"k", L"first"},
        {"crlf", "[A]\r\nk = spaced value \r\n", L"a", L"K", L"spaced value"},
        {"bom", "\xEF\xBB\xBF[A]\nk=v\n", L"A", L"k", L"v"},
        {"gbk", "[A]\nk=\xca\xd3\xc6\xb5\n", L"A", L"k", L"视频"},
        {"comment", "[A]\n;k=hidden\n", L"A", L"k", L"Error"},
        {"garbage", std::string("\x00\x01[\n=\n[A\nk=v", 12), L"A", L"k", L"v"},
        {"empty", "", L"A", L"k", L"Error"},
    };
    for (auto& c : cases) {
        WriteBytes(dir.file(c.name), c.bytes);
        TIniFile ini(dir.Dir() + Utf8ToString(c.name));
        EXPECT_EQ(ini.ReadString(c.section, c.key, L"Error"), c.want) << c.name;
    }
    TIniFile hex(dir.File(L"hex.ini"));
    hex.WriteString(L"A", L"n", L"0x10");
    hex.WriteString(L"A", L"bad", L"12x");
    EXPECT_EQ(hex.ReadInteger(L"A", L"n", 0), 16);
    EXPECT_EQ(hex.ReadInteger(L"A", L"bad", 5), 5);
}

TEST(IniFile, CrLfFilesStayCrLfAndGbkIsRewrittenAsUtf8)
{
    TempDir dir;
    WriteBytes(dir.file("a.ini"), "[A]\r\nk=\xca\xd3\xc6\xb5\r\n");
    TIniFile ini(dir.File(L"a.ini"));
    ini.WriteString(L"A", L"j", L"1");
    EXPECT_EQ(ReadBytes(dir.file("a.ini")), "[A]\r\nk=视频\r\nj=1\r\n");
}

// Root may write anywhere, so the write is tried by an ordinary user in a child process.
TEST(IniFile, UnwritableFolderRaisesAndKeepsOldFile)
{
    TempDir dir;
    WriteBytes(dir.file("option.ini"), "[A]\nk=old\n");
    ::chmod(dir.file("option.ini").c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);
    const int rc = RunUnprivileged([&] {
        TIniFile ini(dir.File(L"option.ini"));
        try {
            ini.WriteString(L"A", L"k", L"new");
        } catch (const EIniFileException& e) {
            return e.Message().find(L"option.ini") != String::npos ? 0 : 2;
        }
        return 1;
    });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ReadBytes(dir.file("option.ini")), "[A]\nk=old\n");
}

TEST(IniFile, MissingFolderRaisesClearError)
{
    TempDir dir;
    TIniFile ini(dir.File(L"no/such/folder/option.ini"));
    try {
        ini.WriteString(L"A", L"k", L"v");
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_NE(e.Message().find(L"option.ini"), String::npos);
    }
}

// A settings file past the read limit: what parses in its first part is read, and a write never
// leaves it larger than the limit (junk and binary lines go first, then everything but the key).
TEST(IniFile, AFileLongerThanTheLimitIsReadInPartAndNeverRewrittenLarger)
{
    TempDir dir;
    std::string binary;
    for (size_t i = 0; binary.size() < 3 * IniFileReadLimit; ++i) binary += char((i * 131 + i / 7) & 0xFF);
    std::string keys;
    while (keys.size() < 2 * IniFileReadLimit) keys += "key" + std::to_string(keys.size()) + "=value\n";
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* firstValue;  // [OutPath] OutPath as read before the write
    };
    const Case cases[] = {
        {"binary after a section", "[OutPath]\nOutPath=/home/u/out\n" + binary, L"/home/u/out"},
        {"a section past the limit", binary + "\n[OutPath]\nOutPath=/late\n", L"Error"},
        {"a huge section of keys", "[OutPath]\nOutPath=/k\n" + keys, L"/k"},
        {"one line without an end", std::string(2 * IniFileReadLimit, 'x'), L"Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("option.ini");
        WriteBytes(path, c.bytes);
        TIniFile ini(dir.File(L"option.ini"));
        EXPECT_EQ(ini.ReadString(L"OutPath", L"OutPath", L"Error"), c.firstValue);
        ini.WriteString(L"Skin", L"SetSkin", L"0");
        const std::string after = ReadBytes(path);
        EXPECT_LT(after.size(), IniFileReadLimit);
        EXPECT_EQ(ini.ReadString(L"Skin", L"SetSkin", L"Error"), L"0");
        // A second write sees a whole file and keeps what the first one kept.
        ini.WriteString(L"Options", L"After_Done", L"0");
        EXPECT_EQ(ini.ReadString(L"OutPath", L"OutPath", L"Error"), c.firstValue);
        EXPECT_EQ(ini.ReadString(L"Skin", L"SetSkin", L"Error"), L"0");
        EXPECT_LE(ReadBytes(path).size(), after.size() + 64);
    }
}

TEST(MemIniFile, EraseAndRewriteMovesSectionToEnd)
{
    TMemIniFile ini(L"");
    TStringList lines;
    lines.SetText(L"[A]\nx=1\n[B]\ny=2\n");
    ini.SetStrings(&lines);
    ini.EraseSection(L"a");
    ini.WriteString(L"A", L"x", L"3");
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.CommaText(), L"B,A");
    EXPECT_TRUE(ini.SectionExists(L"b"));
    EXPECT_FALSE(ini.ValueExists(L"B", L"x"));
    ini.GetStrings(&lines);
    EXPECT_EQ(lines.Values(L"x"), L"3");
}

// Keys are found through an index kept beside the lines: every change that moves lines (a key
// inserted before comments or blanks, a key deleted, sections erased) must keep reads and writes
// landing on the right line, duplicates read as their first occurrence.
TEST(MemIniFile, ReadsAndWritesFindTheirLinesAfterEveryKindOfChange)
{
    TMemIniFile ini(L"");
    TStringList lines;
    lines.SetText(L"[A]\nk=1\n; note\nK=dup\n\n[a]\nz=9\n[B]\n; only a comment\n\n[C]\nc=1\n");
    ini.SetStrings(&lines);
    EXPECT_EQ(ini.ReadString(L"a", L"K", L"Error"), L"1");
    EXPECT_EQ(ini.ReadString(L"A", L"z", L"Error"), L"Error");  // the first [A] is the one read
    ini.WriteString(L"A", L"m", L"2");                           // after the last key, before the blank
    ini.DeleteKey(L"A", L"k");
    EXPECT_EQ(ini.ReadString(L"A", L"k", L"Error"), L"dup");
    ini.WriteString(L"A", L"k", L"3");  // the remaining duplicate, as written
    ini.WriteString(L"B", L"x", L"4");  // no keys yet: before the trailing blank line
    ini.WriteString(L"A", L"M", L"5");
    ini.WriteString(L"A", L" n ", L"6");  // reads back by its trimmed name
    EXPECT_EQ(ini.ReadString(L"A", L"n", L"Error"), L"6");
    EXPECT_EQ(ini.Text(), L"[A]\n; note\nK=3\nm=5\n n =6\n\n[a]\nz=9\n[B]\n; only a comment\nx=4\n\n[C]\nc=1\n");
    ini.EraseSection(L"A");  // both [A] and [a]
    EXPECT_EQ(ini.ReadString(L"B", L"x", L"Error"), L"4");
    EXPECT_EQ(ini.ReadString(L"C", L"c", L"Error"), L"1");
    ini.WriteString(L"C", L"d", L"2");
    ini.WriteString(L"A", L"q", L"7");
    EXPECT_EQ(ini.Text(), L"[B]\n; only a comment\nx=4\n\n[C]\nc=1\nd=2\n\n[A]\nq=7\n");
}
