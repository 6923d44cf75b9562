// String routines of the framework: UTF-8 and "ANSI" (GBK, the code page of Chinese Windows)
// conversion, number conversion, trimming, case, search and replace, quoting. Positions are
// 1-based where the routine's classic counterpart is (Pos, Copy).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/utf.h"
#include "platform/framework/core/types.h"

// UTF-8 <-> String: Utf8ToString, StringToUtf8 and IsValidUtf8 of platform/base/utf.h.

// GBK <-> String. Characters GBK lacks become '?'; *lossless tells whether that happened.
String AnsiToString(std::string_view s);
std::string StringToAnsi(const String& s, bool* lossless = nullptr);

String IntToStr(int64_t v);
String IntToHex(uint64_t v, int digits);
int StrToInt(const String& s);  // EConvertError when not an integer
int StrToIntDef(const String& s, int def);
int64_t StrToInt64(const String& s);
int64_t StrToInt64Def(const String& s, int64_t def);
bool TryStrToInt(const String& s, int& out);  // accepts "0x"/"$" hex, sign, surrounding blanks
bool TryStrToInt64(const String& s, int64_t& out);
double StrToFloat(const String& s);  // EConvertError when not a number ("." decimal)
double StrToFloatDef(const String& s, double def);
bool TryStrToFloat(const String& s, double& out);
String FloatToStr(double v);  // shortest form, "." decimal, up to 15 digits

String Trim(const String& s);  // blanks and control characters
String TrimLeft(const String& s);
String TrimRight(const String& s);
String UpperCase(const String& s);
String LowerCase(const String& s);
bool SameText(const String& a, const String& b);    // case-insensitive
int CompareText(const String& a, const String& b);  // case-insensitive, <0 / 0 / >0
int CompareStr(const String& a, const String& b);
bool StartsText(const String& prefix, const String& s);
bool EndsText(const String& suffix, const String& s);
bool StartsStr(const String& prefix, const String& s);
bool EndsStr(const String& suffix, const String& s);

int Pos(const String& sub, const String& s, int offset = 1);  // 1-based; 0 when absent
String Copy(const String& s, int index, int count);           // 1-based; clamps like the classic one

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
String StringReplace(const String& s, const String& from, const String& to, unsigned flags);

String QuotedStr(const String& s);  // 'it''s'
String AnsiQuotedStr(const String& s, wchar_t quote);
String AnsiDequotedStr(const String& s, wchar_t quote);  // unchanged when not quoted

// Narrow helpers for the engine's library-facing texts.
std::string TrimA(std::string_view s);
std::string LowerCaseA(std::string_view s);
bool SameTextA(std::string_view a, std::string_view b);
