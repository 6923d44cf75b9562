// The tree's one UTF-8 encoder and decoder, and the UTF-16 encoder and decoder. Wide strings
// hold one code point per element (wchar_t is 32 bits on Linux).
#pragma once

#include <string>
#include <string_view>

// UTF-8 -> wide. Bytes that are not valid UTF-8 become U+DC80..U+DCFF, which StringToUtf8 turns
// back into the same bytes, so any Linux file name survives the round trip.
std::wstring Utf8ToString(std::string_view s);

// What StringToUtf8 writes for U+D800..U+DFFF: Restore turns U+DC80..U+DCFF back into the bytes
// they stand for (names and text on disk); Replace writes U+FFFD for every surrogate, so the result
// is always valid UTF-8 (text handed to fonts and to other programs).
enum class TUtf8Escapes { Restore, Replace };

// Wide -> UTF-8; values past U+10FFFF become U+FFFD.
std::string StringToUtf8(std::wstring_view s, TUtf8Escapes escapes = TUtf8Escapes::Restore);

bool IsValidUtf8(std::string_view s);

// One character of UTF-8 at s[i], moving i past it: a valid sequence gives its code point, any
// other byte gives itself as U+DC80..U+DCFF (the escape Utf8ToString uses) and moves i by one.
char32_t NextUtf8Char(std::string_view s, size_t& i);

// UTF-16 bytes without their byte-order mark -> wide: surrogate pairs joined, a lone surrogate
// kept as it is, an odd last byte dropped.
std::wstring Utf16ToString(std::string_view bytes, bool littleEndian);

// Wide -> UTF-16 code units: code points past U+FFFF become surrogate pairs.
std::u16string StringToUtf16Units(std::wstring_view s);
