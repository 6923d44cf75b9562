#include "platform/framework/core/date_time.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/framework/core/strings.h"

namespace {

// Days from 0001-01-01 style civil date (proleptic Gregorian) relative to 1970-01-01.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as TDateTime

}  // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    return static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDays);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    return (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / 86400000.0;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day)
{
    CivilFromDays(static_cast<int64_t>(std::floor(dt)) - kUnixEpochDays, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec)
{
    int64_t ms = std::llround((dt - std::floor(dt)) * 86400000.0);
    if (ms >= 86400000) ms = 86399999;
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

TDateTime Now()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const int64_t ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    const std::time_t t = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&t, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms % 1000));
}

TDateTime Date() { return std::floor(Now()); }

int64_t DateTimeToUnix(TDateTime dt) { return std::llround((dt - kUnixEpochDays) * 86400.0); }
TDateTime UnixToDateTime(int64_t secs) { return secs / 86400.0 + kUnixEpochDays; }

String FormatDateTime(const String& pattern, TDateTime dt)
{
    int y, mo, d, h, mi, s, ms;
    DecodeDate(dt, y, mo, d);
    DecodeTime(dt, h, mi, s, ms);
    auto two = [](int v) { return (v < 10 ? L"0" : L"") + IntToStr(v); };
    String out;
    size_t i = 0;
    auto run = [&](wchar_t c) {
        size_t n = 0;
        while (i + n < pattern.size() && static_cast<wchar_t>(towlower(pattern[i + n])) == c) ++n;
        return n;
    };
    while (i < pattern.size()) {
        const wchar_t c = static_cast<wchar_t>(towlower(pattern[i]));
        if (pattern[i] == L'"' || pattern[i] == L'\'') {
            const wchar_t q = pattern[i++];
            while (i < pattern.size() && pattern[i] != q) out += pattern[i++];
            ++i;
            continue;
        }
        size_t n = run(c);
        switch (c) {
        case L'y': out += n >= 4 ? IntToStr(y) : two(y % 100); break;
        case L'm': out += n >= 2 ? two(mo) : IntToStr(mo); break;
        case L'd': out += n >= 2 ? two(d) : IntToStr(d); break;
        case L'h': out += n >= 2 ? two(h) : IntToStr(h); break;
        case L'n': out += n >= 2 ? two(mi) : IntToStr(mi); break;
        case L's': out += n >= 2 ? two(s) : IntToStr(s); break;
        case L'z': out += n >= 3 ? (ms < 10 ? L"00" : ms < 100 ? L"0" : L"") + IntToStr(ms) : IntToStr(ms); break;
        default: out += pattern[i]; n = 1;
        }
        i += n;
    }
    return out;
}
