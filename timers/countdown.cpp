#include "timers/countdown.h"

#include <cstring>

#include "timers/timesettings.h"

bool UpdateCountdown(const char* duration, uint32_t startMs, uint32_t nowMs, std::string& remaining)
{
    int hours, minutes, seconds;
    SplitTime(duration, hours, minutes, seconds);
    uint32_t total = static_cast<uint32_t>(hours) * 3600u + static_cast<uint32_t>(minutes) * 60u
                   + static_cast<uint32_t>(seconds);

    // Unsigned throughout: now - start is right across the clock's wrap, and
    // once the elapsed seconds pass the total the difference wraps far above
    // a day, which FormatSeconds shows as "00:00:00".
    uint32_t elapsed = (nowMs - startMs) / 1000u;

    char szBuf[64];
    FormatSeconds(szBuf, total - elapsed);
    remaining = szBuf;
    return std::strcmp(szBuf, "00:00:00") == 0;
}
