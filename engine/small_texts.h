// Small texts the engine composes and takes apart: a size as text, a text split at a delimiter,
// and the local times of the probe's information texts and the output's time stamp.
#pragma once

#include <cstdint>

#include "platform/framework/core/date_time.h"
#include "platform/framework/core/types.h"

// Splits S at the first ADelimiter (case-sensitive): AHead gets the text before it; with
// ARemove, S keeps the text after it. Without the delimiter AHead gets S and, with ARemove, S
// becomes empty.
void SplitAtDelimiter(String& S, const String& ADelimiter, bool ARemove, String& AHead);

// "1.50 GB", "12.00 MB", "1.00 KB", "1024 Byte".
String SizeToText(int64_t ASize);

// The local standard-time offset in days (no daylight-saving part).
double TimeZoneBias();
TDateTime UnixTimeToDateTime(int64_t ASeconds);
String DateTimeToText(const String& AFormat, TDateTime ADateTime);
