// Small texts the engine composes and takes apart.
#include "engine/small_texts.h"

#include <cstdio>
#include <ctime>

#include "platform/framework/core/strings.h"

void SplitAtDelimiter(String& S, const String& ADelimiter, bool ARemove, String& AHead)
{
    size_t p = ADelimiter.empty() ? String::npos : S.find(ADelimiter);
    if (p != String::npos) {
        AHead = S.substr(0, p);
        if (ARemove) S = S.substr(p + ADelimiter.size());
    } else {
        AHead = S;
        if (ARemove) S.clear();
    }
}

String SizeToText(int64_t ASize)
{
    char text[64];
    if (ASize > 1073741824)
        std::snprintf(text, sizeof text, "%.2f GB", ASize / 1073741824.0);
    else if (ASize > 1048576)
        std::snprintf(text, sizeof text, "%.2f MB", ASize / 1048576.0);
    else if (ASize > 1024)
        std::snprintf(text, sizeof text, "%.2f KB", ASize / 1024.0);
    else
        std::snprintf(text, sizeof text, "%lld Byte", static_cast<long long>(ASize));
    return Utf8ToString(text);
}

double TimeZoneBias()
{
    tzset();
    return -static_cast<double>(timezone) / 86400.0;  // timezone: seconds west of UTC
}

TDateTime UnixTimeToDateTime(int64_t ASeconds)
{
    return static_cast<double>(ASeconds) / 86400.0 + 25569.0 + TimeZoneBias();
}

String DateTimeToText(const String& AFormat, TDateTime ADateTime) { return FormatDateTime(AFormat, ADateTime); }
