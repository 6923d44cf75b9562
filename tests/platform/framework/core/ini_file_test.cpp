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
