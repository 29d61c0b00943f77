#include "render/PlaceReadout.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace dazed {

namespace {
std::string degrees(double value, char positive, char negative)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f\xA1%c", std::fabs(value), value < 0.0 ? negative : positive);
    return text;
}
} // namespace

std::string formatPlaceReadout(const SkySnapshot& sky)
{
    using namespace std::chrono;
    const UtcTime& t = sky.time;
    const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                        std::chrono::day{static_cast<unsigned>(t.day)}};
    const sys_time<minutes> local = day + hours{t.hour} + minutes{t.minute} + minutes{sky.utcOffsetMinutes};
    const sys_days localDay = floor<days>(local);
    const year_month_day date{localDay};
    const hh_mm_ss clock{local - localDay};
    const int offset = std::abs(sky.utcOffsetMinutes);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d %c%02d:%02d  ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  sky.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text + degrees(sky.place.latitudeDegrees, 'N', 'S') + " " +
           degrees(sky.place.longitudeDegrees, 'E', 'W');
}

} // namespace dazed
