#include "platform/framework/text_codec.h"

#include "platform/framework/strings.h"

String DecodeText(const std::string& bytes, bool* hadBom)
{
    if (hadBom) *hadBom = false;
    auto starts = [&](const char* bom, size_t n) { return bytes.size() >= n && bytes.compare(0, n, bom, n) == 0; };
    if (starts("\xEF\xBB\xBF", 3)) {
        if (hadBom) *hadBom = true;
        return Utf8ToString(std::string_view(bytes).substr(3));
    }
    if (starts("\xFF\xFE", 2) || starts("\xFE\xFF", 2)) {
        if (hadBom) *hadBom = true;
        const bool le = bytes[0] == '\xFF';
        String out;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(bytes[le ? i : i + 1]);
            const auto hi = static_cast<unsigned char>(bytes[le ? i + 1 : i]);
            char32_t u = static_cast<char32_t>(hi << 8 | lo);
            if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
                const auto lo2 = static_cast<unsigned char>(bytes[le ? i + 2 : i + 3]);
                const auto hi2 = static_cast<unsigned char>(bytes[le ? i + 3 : i + 2]);
                const char32_t u2 = static_cast<char32_t>(hi2 << 8 | lo2);
                if (u2 >= 0xDC00 && u2 < 0xE000) {
                    u = 0x10000 + ((u - 0xD800) << 10) + (u2 - 0xDC00);
                    i += 2;
                }
            }
            out += static_cast<wchar_t>(u);
        }
        return out;
    }
    if (IsValidUtf8(bytes)) return Utf8ToString(bytes);
    return AnsiToString(bytes);
}
