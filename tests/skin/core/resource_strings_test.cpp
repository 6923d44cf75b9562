// The interface text table: its defaults, look-up by name and the built-in captions.
#include "skin/core/resource_strings.h"

#include <gtest/gtest.h>

TEST(ResourceStrings, DefaultsAndLookUp)
{
    TbsResourceStrData t(nullptr);
    EXPECT_EQ(t.ResStrings()->Count(), 131);
    EXPECT_EQ(t.CharSet(), 1);
    EXPECT_EQ(t.ResStrings()->Get(0), L"MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(t.ResStrings()->Get(130), L"DBNAV_REFRESH=REFRESH");
    EXPECT_EQ(t.GetResStr(L"mi_mincaption"), L"Mi&nimize");
    EXPECT_EQ(t.GetResStr(L"FLV_LOOKIN"), L"Look in: ");
    EXPECT_EQ(t.GetResStr(L"FIND_REPLACE_All"), L"Replace All");
    EXPECT_EQ(t.GetResStr(L"NO_SUCH_NAME"), L"");

    TStringList lines;
    lines.Add(L"MSG_BTN_CANCEL");  // no "=": no name
    lines.Add(L"MSG_BTN_OK=");
    lines.Add(L"EQ=a=b=c");
    lines.Add(L"TWICE=first");
    lines.Add(L"twice=second");
    t.SetResStrings(&lines);
    EXPECT_EQ(t.ResStrings()->Count(), 5);
    EXPECT_EQ(t.GetResStr(L"MSG_BTN_OK"), L"");
    EXPECT_EQ(t.GetResStr(L"MSG_BTN_CANCEL"), L"");
    EXPECT_EQ(t.GetResStr(L"EQ"), L"a=b=c");
    EXPECT_EQ(t.GetResStr(L"twice"), L"first");
}

TEST(ResourceStrings, BuiltInCaptions)
{
    TbsResourceStrData t(nullptr);
    int builtIn = 0;
    for (int i = 0; i < t.ResStrings()->Count(); ++i) {
        const String name = t.ResStrings()->Names(i);
        const String caption = GetBuiltInResStr(name);
        if (caption.empty()) continue;
        ++builtIn;
        EXPECT_EQ(caption, t.GetResStr(name));
    }
    EXPECT_EQ(builtIn, 58);
    EXPECT_EQ(GetBuiltInResStr(L"MSG_CAP_SHOWFLAG"), L"Do not display this message again");
    EXPECT_EQ(GetBuiltInResStr(L"FLV_MODIFIED"), L"Modified");
    EXPECT_EQ(GetBuiltInResStr(L"FLV_ATTRIBUTES"), L"");
    EXPECT_EQ(GetBuiltInResStr(L"CALC_CAP"), L"");
}
