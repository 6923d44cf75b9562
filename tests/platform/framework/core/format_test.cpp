#include "platform/framework/core/format.h"

#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"

TEST(Format, SpecifiersWidthAndPrecision)
{
    EXPECT_EQ(Format(L"%.2d:%.2d:%.2d", 1, 2, 30), L"01:02:30");
    EXPECT_EQ(Format(L"%5.1f", 3.14159), L"  3.1");
    EXPECT_EQ(Format(L"%.2f MB", 1.005 * 100), L"100.50 MB");
    EXPECT_EQ(Format(L"%f", 2.0), L"2.00");  // default precision 2
    EXPECT_EQ(Format(L"%d%%", 100), L"100%");
    EXPECT_EQ(Format(L"%-6s|", L"ab"), L"ab    |");
    EXPECT_EQ(Format(L"%6s|", L"ab"), L"    ab|");
    EXPECT_EQ(Format(L"%.3s", L"abcdef"), L"abc");
    EXPECT_EQ(Format(L"%x %.4x", 255, 255), L"FF 00FF");
    EXPECT_EQ(Format(L"%u", 4000000000u), L"4000000000");
    EXPECT_EQ(Format(L"%d", -42), L"-42");
    EXPECT_EQ(Format(L"%.3d", -7), L"-007");
    EXPECT_EQ(Format(L"%*d|%-*d|", 4, 7, 3, 8), L"   7|8  |");
    EXPECT_EQ(Format(L"%1:s %0:s", L"a", L"b"), L"b a");
    EXPECT_EQ(Format(L"%n", 1234567.891), L"1,234,567.89");
    EXPECT_EQ(Format(L"%s@%s", "avcodec_open2", std::string("libavcodec.so.59")), L"avcodec_open2@libavcodec.so.59");
    EXPECT_EQ(Format(L"bsSkin%d", 3), L"bsSkin3");
    EXPECT_EQ(Format(L"%s", L"视频"), L"视频");
}

TEST(Format, NarrowFormatGivesUtf8)
{
    EXPECT_EQ(Format("Load library %s error: %s", L"视频.so", "no such file"),
              "Load library 视频.so error: no such file");
    EXPECT_EQ(Format("%d frames", 25), "25 frames");
}

TEST(Format, MismatchedOrMissingArgumentsRaise)
{
    EXPECT_THROW(Format(L"%d", L"text"), EConvertError);
    EXPECT_THROW(Format(L"%s", 5), EConvertError);
    EXPECT_THROW(Format(L"%f", 5), EConvertError);
    EXPECT_THROW(Format(L"%d %d", 5), EConvertError);
    EXPECT_THROW(Format(L"%", 5), EConvertError);
}
