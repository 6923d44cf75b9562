#include "platform/base/utf.h"

#include <gtest/gtest.h>

TEST(Utf, EscapedBytesComeBackOnlyWhenRestored)
{
    const std::string odd = "a\xFF\xC3(b";  // a stray byte and a cut sequence
    const std::wstring wide = Utf8ToString(odd);
    EXPECT_EQ(wide, L"a\xDCFF\xDCC3(b");
    EXPECT_EQ(StringToUtf8(wide), odd);
    EXPECT_FALSE(IsValidUtf8(odd));

    // Text for fonts and other programs: every surrogate, escaped or lone, becomes U+FFFD.
    const std::string replaced =
        StringToUtf8(std::wstring(L"a\xDCFF") + wchar_t(0xD800) + L"视", TUtf8Escapes::Replace);
    EXPECT_EQ(replaced, "a\xEF\xBF\xBD\xEF\xBF\xBD视");
    EXPECT_TRUE(IsValidUtf8(replaced));
}

TEST(Utf, EncodesEveryLengthAndRejectsOverlongForms)
{
    const std::wstring text = L"A\u00E9\u89C6\U0001F600";
    EXPECT_EQ(StringToUtf8(text), "A\xC3\xA9\xE8\xA7\x86\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToString(StringToUtf8(text)), text);
    EXPECT_EQ(StringToUtf8(std::wstring(1, wchar_t(0x110000))), "\xEF\xBF\xBD");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // an encoded surrogate
    EXPECT_EQ(Utf8ToString("\xC0\xAF"), L"\xDCC0\xDCAF");
}

TEST(Utf, Utf16JoinsPairsInBothByteOrders)
{
    // U+89C6 and U+1F600 (D83D DE00), then a lone high surrogate and an odd last byte.
    const std::string le("\xC6\x89\x3D\xD8\x00\xDE\x3D\xD8X", 9);
    const std::string be("\x89\xC6\xD8\x3D\xDE\x00\xD8\x3DX", 9);
    const std::wstring want = std::wstring(L"\u89C6\U0001F600") + wchar_t(0xD83D);
    EXPECT_EQ(Utf16ToString(le, true), want);
    EXPECT_EQ(Utf16ToString(be, false), want);
    EXPECT_EQ(Utf16ToString("", true), L"");

    // And back: the pair is split again, a value past U+10FFFF becomes U+FFFD.
    const std::u16string units = StringToUtf16Units(std::wstring(L"\u89C6\U0001F600") + wchar_t(0x110000));
    EXPECT_EQ(units, (std::u16string{0x89C6, 0xD83D, 0xDE00, 0xFFFD}));
    const std::string bytes(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    EXPECT_EQ(Utf16ToString(bytes, true), std::wstring(L"\u89C6\U0001F600\uFFFD"));
}

TEST(Utf, OneCharacterAtATime)
{
    const std::string s = "a\xE8\xA7\x86\xFF\xF0\x9F\x98\x80";
    size_t i = 0;
    std::u32string seen;
    while (i < s.size()) seen += NextUtf8Char(s, i);
    EXPECT_EQ(seen, (std::u32string{U'a', 0x89C6, 0xDCFF, 0x1F600}));
    EXPECT_EQ(i, s.size());
}
