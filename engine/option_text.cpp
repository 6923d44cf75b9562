// Splitting the engine's option text into name and value lines.
#include "engine/option_text.h"

#include "engine/task_options.h"
#include "platform/framework/core/strings.h"

std::vector<TOptionLine> SplitOptionText(const String& AText)
{
    String text = Trim(AText);
    text = StringReplace(text, L"<CRLF>", L"\n", rfReplaceAll);
    text = StringReplace(text, L"\r\n", L"\n", rfReplaceAll);
    text = StringReplace(text, L"\r", L"\n", rfReplaceAll);
    std::vector<TOptionLine> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == String::npos) end = text.size();
        String line = text.substr(start, end - start);
        size_t eq = line.find(L'=');
        TOptionLine item;
        item.Name = Trim(line.substr(0, eq));
        if (eq != String::npos) item.Value = Trim(line.substr(eq + 1));
        if (!item.Name.empty()) {
            item.LowerName = LowerCase(item.Name);
            lines.push_back(std::move(item));
        }
        start = end + 1;
    }
    return lines;
}

int64_t OptionTextTime(const String& AValue)
{
    int64_t value = 0;
    if (!TryStrToInt64(Trim(AValue), value)) return NoTimestamp;
    return value;
}
