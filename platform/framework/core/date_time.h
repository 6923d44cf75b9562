// TDateTime: days since 1899-12-30 as a double, the fraction being the time of day (local time).
#pragma once

#include <cstdint>

#include "platform/framework/core/types.h"

using TDateTime = double;

TDateTime Now();
TDateTime Date();
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
int64_t DateTimeToUnix(TDateTime dt);  // the value read as UTC seconds
TDateTime UnixToDateTime(int64_t secs);
// Patterns: yyyy yy mm m dd d hh h nn n ss s zzz, and literal text in quotes.
String FormatDateTime(const String& pattern, TDateTime dt);
