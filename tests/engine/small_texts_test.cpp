// Small texts: sizes, splitting at a delimiter, local times.
#include <gtest/gtest.h>

#include "engine/small_texts.h"
#include "platform/framework/core/strings.h"

TEST(SmallTexts, SizeToText)
{
    const std::pair<int64_t, const wchar_t*> cases[] = {
        {0, L"0 Byte"},
        {-5, L"-5 Byte"},
        {1024, L"1024 Byte"},
        {1025, L"1.00 KB"},
        {1048576, L"1024.00 KB"},
        {1048577, L"1.00 MB"},
        {1073741824, L"1024.00 MB"},
        {1073741825, L"1.00 GB"},
        {5368709120LL, L"5.00 GB"},
    };
    for (auto& [size, text] : cases) EXPECT_EQ(SizeToText(size), text) << size;
}

TEST(SmallTexts, SplitAtDelimiter)
{
    struct Case {
        const wchar_t* s;
        const wchar_t* delimiter;
        bool remove;
        const wchar_t* head;
        const wchar_t* rest;
    };
    const Case cases[] = {
        {L"a=b=c", L"=", true, L"a", L"b=c"}, {L"a=b=c", L"=", false, L"a", L"a=b=c"},
        {L"abc", L"=", true, L"abc", L""},    {L"abc", L"=", false, L"abc", L"abc"},
        {L"=x", L"=", true, L"", L"x"},       {L"key::value", L"::", true, L"key", L"value"},
        {L"AbA", L"b", true, L"A", L"A"},     {L"ABA", L"b", true, L"ABA", L""},  // case-sensitive
    };
    for (const Case& c : cases) {
        String s = c.s, head = L"old";
        SplitAtDelimiter(s, c.delimiter, c.remove, head);
        EXPECT_EQ(head, c.head) << StringToUtf8(c.s);
        EXPECT_EQ(s, c.rest) << StringToUtf8(c.s);
    }
}

TEST(SmallTexts, LocalTimes)
{
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(0), 25569.0 + TimeZoneBias());
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(86400 * 2), 25571.0 + TimeZoneBias());
    EXPECT_EQ(DateTimeToText(L"yyyy-mm-dd hh:nn:ss", 25569.5), L"1970-01-01 12:00:00");
}
