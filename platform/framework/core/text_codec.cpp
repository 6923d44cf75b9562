#include "platform/framework/core/text_codec.h"

#include "platform/framework/core/strings.h"

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
        return Utf16ToString(std::string_view(bytes).substr(2), bytes[0] == '\xFF');
    }
    if (IsValidUtf8(bytes)) return Utf8ToString(bytes);
    return AnsiToString(bytes);
}
