#include "platform/framework/core/string_list.h"

#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

TEST(StringList, TextSplitsAnyLineBreakAndJoinsWithCrLf)
{
    TStringList l;
    l.SetText(L"a\r\nb\nc\rd\r\n");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[3], L"d");
    EXPECT_EQ(l.Text(), L"a\r\nb\r\nc\r\nd\r\n");
    l.SetText(L"x\n\ny");
    EXPECT_EQ(l.Count(), 3);  // empty line kept
    l.SetText(L"");
    EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, NamesAndValues)
{
    TStringList l;
    l.SetText(L"Width=640\nformat=a=b\nnoequals\n=empty");
    EXPECT_EQ(l.Values(L"WIDTH"), L"640");
    EXPECT_EQ(l.Values(L"format"), L"a=b");  // split at the first "="
    EXPECT_EQ(l.Names(2), L"");
    EXPECT_EQ(l.IndexOfName(L""), 3);
    l.SetValue(L"width", L"720");
    EXPECT_EQ(l[0], L"width=720");
    l.SetValue(L"format", L"");
    EXPECT_EQ(l.IndexOfName(L"format"), -1);
}

TEST(StringList, CommaTextQuotesAndParses)
{
    TStringList l;
    l.Add(L"plain");
    l.Add(L"with space");
    l.Add(L"a,b");
    l.Add(L"say \"hi\"");
    EXPECT_EQ(l.CommaText(), L"plain,\"with space\",\"a,b\",\"say \"\"hi\"\"\"");
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_TRUE(back.Equals(l));
    back.SetCommaText(L"x y, z,");
    EXPECT_EQ(back.Count(), 4);  // blanks separate too; a trailing comma adds an empty item
    EXPECT_EQ(back[3], L"");
}

TEST(StringList, SortedListsAndDuplicates)
{
    TStringList l;
    l.SetSorted(true);
    l.Add(L"b");
    l.Add(L"A");
    l.Add(L"c");
    EXPECT_EQ(l.Add(L"B"), 1);  // dupIgnore: index of the existing one
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l[0], L"A");
    EXPECT_EQ(l.IndexOf(L"C"), 2);
    l.Duplicates = dupError;
    EXPECT_THROW(l.Add(L"a"), EListError);
    l.Duplicates = dupAccept;
    l.Add(L"a");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_THROW(l.Insert(0, L"z"), EListError);
    EXPECT_THROW(l.Get(9), EListError);
}

TEST(StringList, ObjectsAndChangeEvents)
{
    TStringList l;
    int changes = 0;
    l.OnChange = [&](TObject*) { ++changes; };
    TObject marker;
    l.AddObject(L"x", &marker);
    EXPECT_EQ(l.Objects(0), &marker);
    l.BeginUpdate();
    l.Add(L"y");
    l.Add(L"z");
    l.EndUpdate();
    EXPECT_EQ(changes, 2);
    l.Move(2, 0);
    EXPECT_EQ(l[0], L"z");
    EXPECT_EQ(l.Objects(1), &marker);
}

TEST(StringList, FilesInUtf8BomAndGbk)
{
    TempDir dir;
    WriteBytes(dir.file("bom.txt"), "\xEF\xBB\xBF\xE8\xA7\x86\xE9\xA2\x91\r\nb");
    WriteBytes(dir.file("gbk.txt"), "\xca\xd3\xc6\xb5\r\n");
    TStringList l;
    l.LoadFromFile(dir.File(L"bom.txt"));
    EXPECT_EQ(l[0], L"视频");
    l.LoadFromFile(dir.File(L"gbk.txt"));
    EXPECT_EQ(l[0], L"视频");
    EXPECT_THROW(l.LoadFromFile(dir.File(L"missing.txt")), EFOpenError);
    l.SaveToFile(dir.File(L"out 视频.txt"));
    EXPECT_EQ(ReadBytes(dir.file("out 视频.txt")), "\xE8\xA7\x86\xE9\xA2\x91\r\n");
}
