#include "platform/framework/core/format.h"

#include <cmath>
#include <cstdio>
#include <cwctype>

#include "platform/framework/core/exceptions.h"

namespace {

[[noreturn]] void FormatError(std::wstring_view fmt)
{
    throw EConvertError(L"Format '" + String(fmt) + L"' invalid or incompatible with argument");
}

String Widen(const char* s) { return Utf8ToString(s); }

String Digits(uint64_t v, int base, bool upper)
{
    if (v == 0) return L"0";
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    String r;
    while (v) {
        r.insert(r.begin(), digits[v % base]);
        v /= base;
    }
    return r;
}

String GroupThousands(const String& fixed)
{
    size_t dot = fixed.find(L'.');
    size_t end = dot == String::npos ? fixed.size() : dot;
    size_t start = (!fixed.empty() && fixed[0] == L'-') ? 1 : 0;
    String intPart = fixed.substr(start, end - start);
    String grouped;
    int n = 0;
    for (size_t k = intPart.size(); k-- > 0;) {
        grouped.insert(grouped.begin(), intPart[k]);
        if (++n % 3 == 0 && k > 0) grouped.insert(grouped.begin(), L',');
    }
    return fixed.substr(0, start) + grouped + fixed.substr(end);
}

String FormatFloat(wchar_t type, double v, int prec)
{
    char buf[512];
    switch (type) {
    case L'e': {
        if (prec < 0 || prec > 18) prec = 15;
        std::snprintf(buf, sizeof buf, "%.*E", prec > 0 ? prec - 1 : 0, v);
        // Exponent with at least three digits, as the classic routine writes it.
        std::string s = buf;
        const size_t e = s.find('E');
        if (e != std::string::npos && s.size() - e - 2 < 3) s.insert(e + 2, 3 - (s.size() - e - 2), '0');
        return Widen(s.c_str());
    }
    case L'g':
        if (prec < 0 || prec > 18) prec = 15;
        std::snprintf(buf, sizeof buf, "%.*G", prec == 0 ? 1 : prec, v);
        return Widen(buf);
    case L'n':
    case L'm':
        if (prec < 0 || prec > 18) prec = 2;
        std::snprintf(buf, sizeof buf, "%.*f", prec, v);
        return GroupThousands(Widen(buf));
    default:  // 'f'
        if (prec < 0 || prec > 18) prec = 2;
        std::snprintf(buf, sizeof buf, "%.*f", prec, v);
        return Widen(buf);
    }
}

}  // namespace

String FormatArgs(std::wstring_view fmt, const FormatArg* args, size_t count)
{
    String out;
    size_t next = 0;
    size_t i = 0;
    auto takeInt = [&]() -> int64_t {
        if (next >= count || args[next].kind != FormatArg::kInt) {
            if (next < count && args[next].kind == FormatArg::kUInt) return static_cast<int64_t>(args[next++].u);
            FormatError(fmt);
        }
        return args[next++].i;
    };
    while (i < fmt.size()) {
        const wchar_t c = fmt[i++];
        if (c != L'%') {
            out += c;
            continue;
        }
        if (i < fmt.size() && fmt[i] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        // [index:]
        size_t save = i;
        int64_t num = -1;
        bool haveNum = false;
        while (i < fmt.size() && iswdigit(fmt[i])) {
            num = (num < 0 ? 0 : num * 10) + (fmt[i] - L'0');
            haveNum = true;
            ++i;
        }
        if (i < fmt.size() && fmt[i] == L':') {
            if (!haveNum) num = 0;
            next = static_cast<size_t>(num);
            ++i;
        } else {
            i = save;
        }
        bool left = false;
        if (i < fmt.size() && fmt[i] == L'-') {
            left = true;
            ++i;
        }
        int width = -1;
        if (i < fmt.size() && fmt[i] == L'*') {
            width = static_cast<int>(takeInt());
            ++i;
        } else {
            while (i < fmt.size() && iswdigit(fmt[i])) width = (width < 0 ? 0 : width * 10) + (fmt[i++] - L'0');
        }
        int prec = -1;
        if (i < fmt.size() && fmt[i] == L'.') {
            ++i;
            prec = 0;
            if (i < fmt.size() && fmt[i] == L'*') {
                prec = static_cast<int>(takeInt());
                ++i;
            } else {
                while (i < fmt.size() && iswdigit(fmt[i])) prec = prec * 10 + (fmt[i++] - L'0');
            }
        }
        if (i >= fmt.size()) FormatError(fmt);
        const wchar_t type = static_cast<wchar_t>(towlower(fmt[i]));
        const bool upperType = fmt[i] != type;
        ++i;
        if (next >= count) FormatError(fmt);
        const FormatArg& a = args[next++];
        String piece;
        switch (type) {
        case L'd':
        case L'u': {
            bool neg = false;
            uint64_t mag;
            if (a.kind == FormatArg::kInt) {
                neg = a.i < 0;
                mag = neg ? 0 - static_cast<uint64_t>(a.i) : static_cast<uint64_t>(a.i);
                if (type == L'u' && neg) {  // unsigned view of a negative 32-bit value
                    mag = static_cast<uint32_t>(a.i);
                    neg = false;
                }
            } else if (a.kind == FormatArg::kUInt) {
                mag = a.u;
            } else {
                FormatError(fmt);
            }
            piece = Digits(mag, 10, true);
            if (prec > 0 && static_cast<int>(piece.size()) < prec) piece.insert(0, prec - piece.size(), L'0');
            if (neg) piece.insert(piece.begin(), L'-');
            break;
        }
        case L'x': {
            uint64_t v;
            if (a.kind == FormatArg::kInt)
                v = a.i < 0 && a.i >= INT32_MIN ? static_cast<uint32_t>(a.i) : static_cast<uint64_t>(a.i);
            else if (a.kind == FormatArg::kUInt)
                v = a.u;
            else
                FormatError(fmt);
            piece = Digits(v, 16, true);
            if (prec > 0 && static_cast<int>(piece.size()) < prec) piece.insert(0, prec - piece.size(), L'0');
            break;
        }
        case L'e':
        case L'f':
        case L'g':
        case L'n':
        case L'm': {
            double v;
            if (a.kind == FormatArg::kFloat)
                v = a.f;
            else
                FormatError(fmt);
            piece = FormatFloat(type, v, prec);
            (void)upperType;
            break;
        }
        case L'p': {
            if (a.kind != FormatArg::kPtr) FormatError(fmt);
            piece = Digits(reinterpret_cast<uintptr_t>(a.p), 16, true);
            piece.insert(0, sizeof(void*) * 2 - piece.size(), L'0');
            break;
        }
        case L's':
        case L'c': {
            if (a.kind != FormatArg::kStr && a.kind != FormatArg::kChar) FormatError(fmt);
            piece = a.s;
            if (type == L's' && prec >= 0 && static_cast<int>(piece.size()) > prec) piece.resize(prec);
            break;
        }
        default: FormatError(fmt);
        }
        if (width > 0 && static_cast<int>(piece.size()) < width) {
            if (left)
                piece.append(width - piece.size(), L' ');
            else
                piece.insert(0, width - piece.size(), L' ');
        }
        out += piece;
    }
    return out;
}
