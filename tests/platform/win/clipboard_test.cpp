// The clipboard and global memory.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

#include "platform/win/win_api.h"

TEST(WinClipboard, TextRoundTripAndOwnership)
{
    const wchar_t* text = L"格式 text";
    HGLOBAL g = GlobalAlloc(GHND, (std::wcslen(text) + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(g), text, (std::wcslen(text) + 1) * sizeof(wchar_t));
    GlobalUnlock(g);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, g), nullptr);  // not open
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, g), g);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE got = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(got)), text);
    GlobalUnlock(got);
    // Emptying frees what the clipboard held.
    EmptyClipboard();
    EXPECT_EQ(GlobalSize(g), 0u);
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
    CloseClipboard();
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GlobalFree(reinterpret_cast<HGLOBAL>(static_cast<std::uintptr_t>(0x1234))),
              reinterpret_cast<HGLOBAL>(static_cast<std::uintptr_t>(0x1234)));
}
