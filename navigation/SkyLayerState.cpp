#include "navigation/SkyLayerState.h"

#include "sky/SolarSystem.h"

namespace dazed {

using namespace std::chrono;

namespace {
system_clock::time_point timePointOf(const UtcTime& t)
{
    const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                        std::chrono::day{static_cast<unsigned>(t.day)}};
    // A leap second (60) is counted as the minute's last second: the system clock has none.
    const double second = t.second >= 60.0 ? 59.999 : t.second;
    return day + hours{t.hour} + minutes{t.minute} +
           duration_cast<system_clock::duration>(duration<double>(second));
}
} // namespace

UtcTime layerMoment(const SkyLayerState& state, system_clock::time_point now)
{
    return state.fixedTime ? *state.fixedTime : utcFromSystemClock(now);
}

bool toggleLayer(SkyLayerState& state)
{
    if (!state.place)
        return false;
    state.shown = !state.shown;
    return true;
}

bool stepLayerTime(SkyLayerState& state, minutes step, system_clock::time_point now)
{
    if (!state.place)
        return false;
    const UtcTime moved = utcFromSystemClock(timePointOf(layerMoment(state, now)) + step);
    if (!isWithinModels(moved))
        return false;
    state.fixedTime = moved;
    return true;
}

bool followClock(SkyLayerState& state)
{
    if (!state.fixedTime)
        return false;
    state.fixedTime.reset();
    return true;
}

milliseconds untilNextMinute(system_clock::time_point now)
{
    const auto intoMinute = duration_cast<milliseconds>(now - floor<minutes>(now));
    return milliseconds{60000} - intoMinute;
}

} // namespace dazed
