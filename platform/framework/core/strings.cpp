#include "platform/framework/core/strings.h"

#include <iconv.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <mutex>

#include "platform/framework/core/exceptions.h"

namespace {

// iconv between GBK and UTF-8; the conversion descriptors are not thread-safe, so each call opens
// its own (cheap compared with the file I/O around these calls).
std::string Iconv(const char* to, const char* from, std::string_view in, bool* lossless)
{
    if (lossless) *lossless = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* inp = const_cast<char*>(in.data());
    size_t inleft = in.size();
    char* outp = out.data();
    size_t outleft = out.size();
    while (inleft > 0) {
        size_t r = iconv(cd, &inp, &inleft, &outp, &outleft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            const size_t used = outp - out.data();
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outleft = out.size() - used;
            continue;
        }
        // Invalid or incomplete input: put a '?' and skip one source unit.
        if (lossless) *lossless = false;
        if (outleft == 0) {
            const size_t used = outp - out.data();
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outleft = out.size() - used;
        }
        *outp++ = '?';
        --outleft;
        size_t skip = 1;
        if (std::string_view(from) == "UTF-8") {
            const auto b = static_cast<unsigned char>(*inp);
            skip = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
            skip = std::min(skip, inleft);
        }
        inp += skip;
        inleft -= skip;
    }
    out.resize(outp - out.data());
    iconv_close(cd);
    return out;
}

bool IsBlank(wchar_t c) { return c <= L' '; }

wchar_t FoldCase(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

// The C library's wide case mapping needs a UTF-8 aware locale for non-ASCII letters.
void EnsureCtypeLocale()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const char* cur = std::setlocale(LC_CTYPE, nullptr);
        if (!cur || std::string_view(cur) == "C" || std::string_view(cur) == "POSIX")
            if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "en_US.UTF-8");
    });
}

}  // namespace

String AnsiToString(std::string_view s) { return Utf8ToString(Iconv("UTF-8", "GBK", s, nullptr)); }

std::string StringToAnsi(const String& s, bool* lossless) { return Iconv("GBK", "UTF-8", StringToUtf8(s), lossless); }

String IntToStr(int64_t v) { return std::to_wstring(v); }

String IntToHex(uint64_t v, int digits)
{
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%0*llX", digits, static_cast<unsigned long long>(v));
    return buf;
}

bool TryStrToInt64(const String& s, int64_t& out)
{
    const std::string t = StringToUtf8(Trim(s));
    if (t.empty()) return false;
    size_t i = 0;
    bool neg = false;
    if (t[i] == '+' || t[i] == '-') neg = t[i++] == '-';
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) return false;
    uint64_t mag = 0;
    auto [p, ec] = std::from_chars(t.data() + i, t.data() + t.size(), mag, base);
    if (ec != std::errc() || p != t.data() + t.size()) return false;
    if (base == 10) {
        if (neg ? mag > 9223372036854775808ull : mag > 9223372036854775807ull) return false;
    }
    out = neg ? static_cast<int64_t>(0 - mag) : static_cast<int64_t>(mag);
    return true;
}

bool TryStrToInt(const String& s, int& out)
{
    int64_t v;
    if (!TryStrToInt64(s, v)) return false;
    if (v >= INT32_MIN && v <= INT32_MAX) {
        out = static_cast<int>(v);
        return true;
    }
    // Hex literals may fill all 32 bits, as the classic routine allows ("0xFFFFFFFF" = -1).
    const bool hex = Pos(L"x", LowerCase(s)) != 0 || Pos(L"$", s) != 0;
    if (hex && v > INT32_MAX && v <= static_cast<int64_t>(UINT32_MAX)) {
        out = static_cast<int>(static_cast<uint32_t>(v));
        return true;
    }
    return false;
}

int StrToInt(const String& s)
{
    int v;
    if (!TryStrToInt(s, v)) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    return v;
}

int StrToIntDef(const String& s, int def)
{
    int v;
    return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64(const String& s)
{
    int64_t v;
    if (!TryStrToInt64(s, v)) throw EConvertError(L"'" + s + L"' is not a valid integer value");
    return v;
}

int64_t StrToInt64Def(const String& s, int64_t def)
{
    int64_t v;
    return TryStrToInt64(s, v) ? v : def;
}

bool TryStrToFloat(const String& s, double& out)
{
    const std::string t = StringToUtf8(Trim(s));
    if (t.empty()) return false;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
    return ec == std::errc() && p == t.data() + t.size();
}

double StrToFloat(const String& s)
{
    double v;
    if (!TryStrToFloat(s, v)) throw EConvertError(L"'" + s + L"' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const String& s, double def)
{
    double v;
    return TryStrToFloat(s, v) ? v : def;
}

String FloatToStr(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return Utf8ToString(buf);
}

String TrimLeft(const String& s)
{
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

String TrimRight(const String& s)
{
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

String Trim(const String& s) { return TrimLeft(TrimRight(s)); }

String UpperCase(const String& s)
{
    EnsureCtypeLocale();
    String r = s;
    for (auto& c : r) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return r;
}

String LowerCase(const String& s)
{
    EnsureCtypeLocale();
    String r = s;
    for (auto& c : r) c = FoldCase(c);
    return r;
}

int CompareText(const String& a, const String& b)
{
    EnsureCtypeLocale();
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const wchar_t x = FoldCase(a[i]), y = FoldCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareStr(const String& a, const String& b) { return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1); }

bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }

bool StartsText(const String& prefix, const String& s)
{
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool EndsText(const String& suffix, const String& s)
{
    return s.size() >= suffix.size() && SameText(s.substr(s.size() - suffix.size()), suffix);
}

bool StartsStr(const String& prefix, const String& s) { return s.compare(0, prefix.size(), prefix) == 0; }

bool EndsStr(const String& suffix, const String& s)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int Pos(const String& sub, const String& s, int offset)
{
    if (sub.empty() || offset < 1) return 0;
    const size_t p = s.find(sub, static_cast<size_t>(offset - 1));
    return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

String Copy(const String& s, int index, int count)
{
    if (index < 1) index = 1;
    if (count <= 0 || static_cast<size_t>(index) > s.size()) return String();
    return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

String StringReplace(const String& s, const String& from, const String& to, unsigned flags)
{
    if (from.empty()) return s;
    const String hay = (flags & rfIgnoreCase) ? LowerCase(s) : s;
    const String needle = (flags & rfIgnoreCase) ? LowerCase(from) : from;
    String out;
    size_t start = 0;
    while (true) {
        const size_t p = hay.find(needle, start);
        if (p == String::npos) {
            out.append(s, start, String::npos);
            break;
        }
        out.append(s, start, p - start);
        out += to;
        start = p + from.size();
        if (!(flags & rfReplaceAll)) {
            out.append(s, start, String::npos);
            break;
        }
    }
    return out;
}

String AnsiQuotedStr(const String& s, wchar_t quote)
{
    String out(1, quote);
    for (wchar_t c : s) {
        out += c;
        if (c == quote) out += c;
    }
    out += quote;
    return out;
}

String QuotedStr(const String& s) { return AnsiQuotedStr(s, L'\''); }

String AnsiDequotedStr(const String& s, wchar_t quote)
{
    if (s.size() < 2 || s.front() != quote || s.back() != quote) return s;
    String out;
    for (size_t i = 1; i + 1 < s.size(); ++i) {
        out += s[i];
        if (s[i] == quote && i + 2 < s.size() && s[i + 1] == quote) ++i;
    }
    return out;
}

std::string TrimA(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string LowerCaseA(std::string_view s)
{
    std::string r(s);
    for (auto& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

bool SameTextA(std::string_view a, std::string_view b) { return LowerCaseA(a) == LowerCaseA(b); }
