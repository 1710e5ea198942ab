#include "common/localtime.h"

#include <charconv>

namespace {

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int year, int month, int day)
{
    int64_t y = year - (month <= 2 ? 1 : 0);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yearOfEra = y - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

int64_t MomentSeconds(const LocalMoment& moment)
{
    return DaysFromCivil(moment.year, moment.month, moment.day) * 86400
         + moment.hour * 3600 + moment.minute * 60 + moment.second;
}

char* WriteTime(char* q, int hour, int minute, int second)
{
    char* const last = q + timeChars;
    const int fields[3] = { hour, minute, second };
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            *q++ = ':';
        if (fields[i] >= 0 && fields[i] < 10)
            *q++ = '0';   // two digits at least
        q = std::to_chars(q, last, fields[i]).ptr;
    }
    return q;
}

void FormatTimeString(char* out, std::size_t size, int hour, int minute, int second)
{
    if (size == 0)
        return;
    char* p = out;
    PutWritten<timeChars>(p, TextLimit(out, size),
                          [=](char* q) { return WriteTime(q, hour, minute, second); });
    TextEnd(p);
}
