#include "sky/TimeScales.h"

#include <erfa.h>

namespace dazed {

std::optional<TimeScales> timeScalesOf(const UtcTime& time)
{
    if (!isRealUtc(time))
        return std::nullopt;
    double utc1 = 0, utc2 = 0;
    eraDtf2d("UTC", time.year, time.month, time.day, time.hour, time.minute, time.second, &utc1, &utc2);
    double tai1 = 0, tai2 = 0;
    TimeScales t;
    if (eraUtctai(utc1, utc2, &tai1, &tai2) < 0 || eraTaitt(tai1, tai2, &t.tt1, &t.tt2) < 0 ||
        eraUtcut1(utc1, utc2, 0.0 /* DUT1, seconds */, &t.ut11, &t.ut12) < 0)
        return std::nullopt;
    return t;
}

} // namespace dazed
