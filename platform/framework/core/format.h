// Format: the classic formatting routine with its specifiers
//   %[index:][-][width][.precision]type   type: d u x X e f g n m p s c
// Width and precision may be "*" (taken from the arguments). %d/%u/%x take a precision as a
// minimum digit count ("%.2d" -> "05"); %x gives upper-case digits; %s takes a precision as a
// maximum length. An argument of the wrong kind, or too few arguments, raise EConvertError.
// Format(L"...") gives a String; Format("...") gives UTF-8 text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/framework/core/strings.h"
#include "platform/framework/core/types.h"

struct FormatArg {
    enum Kind { kInt, kUInt, kFloat, kStr, kPtr, kChar } kind;
    int64_t i = 0;
    uint64_t u = 0;
    double f = 0;
    String s;
    const void* p = nullptr;

    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, char> &&
                                            !std::is_same_v<T, wchar_t>,
                                        int> = 0>
    FormatArg(T v) : kind(kInt), i(v)
    {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool> &&
                                            !std::is_same_v<T, wchar_t>,
                                        int> = 0>
    FormatArg(T v) : kind(kUInt), u(v)
    {}
    template <class T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
    FormatArg(T v) : kind(kInt), i(static_cast<int64_t>(v))
    {}
    FormatArg(bool v) : kind(kInt), i(v ? 1 : 0) {}
    FormatArg(float v) : kind(kFloat), f(v) {}
    FormatArg(double v) : kind(kFloat), f(v) {}
    FormatArg(long double v) : kind(kFloat), f(static_cast<double>(v)) {}
    FormatArg(char c) : kind(kChar), s(1, static_cast<wchar_t>(static_cast<unsigned char>(c))) {}
    FormatArg(wchar_t c) : kind(kChar), s(1, c) {}
    FormatArg(const char* v) : kind(kStr), s(Utf8ToString(v ? v : "")) {}
    FormatArg(char* v) : FormatArg(static_cast<const char*>(v)) {}
    FormatArg(const std::string& v) : kind(kStr), s(Utf8ToString(v)) {}
    FormatArg(std::string_view v) : kind(kStr), s(Utf8ToString(v)) {}
    FormatArg(const wchar_t* v) : kind(kStr), s(v ? v : L"") {}
    FormatArg(wchar_t* v) : FormatArg(static_cast<const wchar_t*>(v)) {}
    FormatArg(const String& v) : kind(kStr), s(v) {}
    FormatArg(std::wstring_view v) : kind(kStr), s(v) {}
    FormatArg(const void* v) : kind(kPtr), p(v) {}
    FormatArg(std::nullptr_t) : kind(kPtr), p(nullptr) {}
};

String FormatArgs(std::wstring_view fmt, const FormatArg* args, size_t count);

template <class... A>
String Format(const wchar_t* fmt, const A&... args)
{
    std::array<FormatArg, sizeof...(A)> list{FormatArg(args)...};
    return FormatArgs(fmt, list.data(), list.size());
}

template <class... A>
String Format(const String& fmt, const A&... args)
{
    std::array<FormatArg, sizeof...(A)> list{FormatArg(args)...};
    return FormatArgs(fmt, list.data(), list.size());
}

template <class... A>
std::string Format(const char* fmt, const A&... args)
{
    std::array<FormatArg, sizeof...(A)> list{FormatArg(args)...};
    return StringToUtf8(FormatArgs(Utf8ToString(fmt), list.data(), list.size()));
}

template <class... A>
std::string Format(const std::string& fmt, const A&... args)
{
    std::array<FormatArg, sizeof...(A)> list{FormatArg(args)...};
    return StringToUtf8(FormatArgs(Utf8ToString(fmt), list.data(), list.size()));
}
