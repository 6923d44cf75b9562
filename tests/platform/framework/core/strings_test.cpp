#include "platform/framework/core/strings.h"

#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"

TEST(Strings, Utf8RoundTripKeepsInvalidBytes)
{
    const std::string odd = "a\xff\xfe/视频 \"q\".mkv";
    EXPECT_EQ(StringToUtf8(Utf8ToString(odd)), odd);
    EXPECT_EQ(Utf8ToString("视频"), L"视频");
    EXPECT_FALSE(IsValidUtf8(odd));
}

TEST(Strings, GbkConversion)
{
    const std::string gbk = "\xca\xd3\xc6\xb5";  // 视频 in GBK
    EXPECT_EQ(AnsiToString(gbk), L"视频");
    bool lossless = false;
    EXPECT_EQ(StringToAnsi(L"视频", &lossless), gbk);
    EXPECT_TRUE(lossless);
    StringToAnsi(L"\u263A", &lossless);  // not in GBK
    EXPECT_FALSE(lossless);
}

TEST(Strings, IntegerConversion)
{
    struct Case {
        const wchar_t* text;
        bool ok;
        int value;
    } cases[] = {
        {L"42", true, 42},         {L" -17 ", true, -17},     {L"0x1F", true, 31}, {L"$ff", true, 255},
        {L"0xFFFFFFFF", true, -1}, {L"2147483648", false, 0}, {L"", false, 0},     {L"12a", false, 0},
        {L"Error", false, 0},      {L"+5", true, 5},
    };
    for (auto& c : cases) {
        int v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << StringToUtf8(c.text);
        if (c.ok) {
            EXPECT_EQ(v, c.value) << StringToUtf8(c.text);
        }
    }
    EXPECT_THROW(StrToInt(L"x"), EConvertError);
    EXPECT_EQ(StrToIntDef(L"x", 7), 7);
    EXPECT_EQ(StrToInt64(L"9223372036854775807"), INT64_MAX);
    EXPECT_DOUBLE_EQ(StrToFloat(L"7.95"), 7.95);
    EXPECT_EQ(FloatToStr(0.5), L"0.5");
}

TEST(Strings, SearchCaseAndReplace)
{
    EXPECT_EQ(Pos(L"b", L"abcb"), 2);
    EXPECT_EQ(Pos(L"b", L"abcb", 3), 4);
    EXPECT_EQ(Pos(L"z", L"abc"), 0);
    EXPECT_EQ(Copy(L"abcdef", 2, 3), L"bcd");
    EXPECT_EQ(Copy(L"abc", 5, 2), L"");
    EXPECT_EQ(Copy(L"abc", 2, 100), L"bc");
    EXPECT_TRUE(SameText(L"ÄBC", L"äbc"));
    EXPECT_EQ(UpperCase(L"mkv"), L"MKV");
    EXPECT_EQ(StringReplace(L"a.b.c", L".", L"_", rfReplaceAll), L"a_b_c");
    EXPECT_EQ(StringReplace(L"a.b.c", L".", L"_", 0), L"a_b.c");
    EXPECT_EQ(StringReplace(L"KBPS kbps", L"kbps", L"", rfReplaceAll | rfIgnoreCase), L" ");
    EXPECT_EQ(QuotedStr(L"it's"), L"'it''s'");
    EXPECT_EQ(AnsiDequotedStr(L"\"a\"\"b\"", L'"'), L"a\"b");
    EXPECT_EQ(Trim(L" \t x \r\n"), L"x");
}
