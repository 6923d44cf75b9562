#include "platform/base/utf.h"

namespace {

constexpr char32_t kEscapeBase = 0xDC00;

bool DecodeUtf8At(std::string_view s, size_t& i, char32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        i += 1;
        return true;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return false;
    }
    if (i + len > s.size()) return false;
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
    return true;
}

void AppendUtf8(std::string& out, char32_t cp, TUtf8Escapes escapes)
{
    if (cp >= 0xD800 && cp <= 0xDFFF) {
        if (escapes == TUtf8Escapes::Replace) {
            cp = 0xFFFD;
        } else if (cp >= kEscapeBase + 0x80 && cp <= kEscapeBase + 0xFF) {  // escaped raw byte
            out += static_cast<char>(cp - kEscapeBase);
            return;
        }
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp <= 0x10FFFF) {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += "\xEF\xBF\xBD";
    }
}

}  // namespace

char32_t NextUtf8Char(std::string_view s, size_t& i)
{
    char32_t cp;
    if (DecodeUtf8At(s, i, cp)) return cp;
    return kEscapeBase + static_cast<unsigned char>(s[i++]);
}

std::wstring Utf8ToString(std::string_view s)
{
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) out += static_cast<wchar_t>(NextUtf8Char(s, i));
    return out;
}

std::string StringToUtf8(std::wstring_view s, TUtf8Escapes escapes)
{
    std::string out;
    out.reserve(s.size());
    for (wchar_t c : s) AppendUtf8(out, static_cast<char32_t>(c), escapes);
    return out;
}

bool IsValidUtf8(std::string_view s)
{
    size_t i = 0;
    char32_t cp;
    while (i < s.size())
        if (!DecodeUtf8At(s, i, cp)) return false;
    return true;
}

std::wstring Utf16ToString(std::string_view bytes, bool littleEndian)
{
    auto unit = [&](size_t i) {
        const auto lo = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
        return static_cast<char32_t>(hi << 8 | lo);
    };
    std::wstring out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t u2 = unit(i + 2);
            if (u2 >= 0xDC00 && u2 < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (u2 - 0xDC00);
                i += 2;
            }
        }
        out += static_cast<wchar_t>(u);
    }
    return out;
}

std::u16string StringToUtf16Units(std::wstring_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (wchar_t ch : s) {
        auto c = static_cast<char32_t>(ch);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c > 0x10FFFF ? 0xFFFD : c);
        }
    }
    return out;
}
