#include "sky/UtcTime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <erfa.h>
#include <optional>

namespace dazed {

using namespace std::chrono;

namespace {

// Reads exactly `digits` decimal digits at `pos`, moving past them.
std::optional<int> readDigits(std::string_view text, std::size_t& pos, std::size_t digits)
{
    if (pos + digits > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    pos += digits;
    return value;
}

bool readChar(std::string_view text, std::size_t& pos, std::string_view accepted)
{
    if (pos < text.size() && accepted.find(text[pos]) != std::string_view::npos) {
        ++pos;
        return true;
    }
    return false;
}

// The text as typed, on one line, for messages.
std::string shown(std::string_view text)
{
    std::string s(text);
    std::replace_if(
        s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    return "'" + s + "'";
}

} // namespace

bool isRealUtc(const UtcTime& t)
{
    double jd1 = 0, jd2 = 0;
    // Negative: no such date or clock time. Bit 1: a second past the end of the day (60 without a
    // leap second). Bit 0 only says the year lies outside ERFA's leap-second table, which is not
    // an error: such times are taken with the last known offset.
    const int status = eraDtf2d("UTC", t.year, t.month, t.day, t.hour, t.minute, t.second, &jd1, &jd2);
    return status >= 0 && (status & 2) == 0;
}

namespace {

bool isRealCalendarDate(int year, int month, int day)
{
    return year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                          std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

} // namespace

std::variant<UtcTime, std::string> parseIsoTime(std::string_view text)
{
    const std::string bad = shown(text) + " is not an ISO 8601 time such as 2026-12-08T21:30:00Z or "
                                          "2026-12-08T22:30:00+01:00";
    UtcTime local;
    std::size_t pos = 0;
    const auto year = readDigits(text, pos, 4);
    const bool dash1 = readChar(text, pos, "-");
    const auto month = readDigits(text, pos, 2);
    const bool dash2 = readChar(text, pos, "-");
    const auto day = readDigits(text, pos, 2);
    const bool separator = readChar(text, pos, "Tt ");
    const auto hour = readDigits(text, pos, 2);
    const bool colon = readChar(text, pos, ":");
    const auto minute = readDigits(text, pos, 2);
    if (!year || !dash1 || !month || !dash2 || !day || !separator || !hour || !colon || !minute)
        return bad;
    local = {*year, *month, *day, *hour, *minute, 0.0};
    if (readChar(text, pos, ":")) {
        const std::size_t start = pos;
        const auto whole = readDigits(text, pos, 2);
        if (!whole)
            return bad;
        if (readChar(text, pos, ".,")) {
            const std::size_t fractionStart = pos;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
                ++pos;
            if (pos == fractionStart)
                return bad;
        }
        std::string digits(text.substr(start, pos - start));
        std::replace(digits.begin(), digits.end(), ',', '.');
        std::from_chars(digits.data(), digits.data() + digits.size(), local.second);
    }

    // The zone: Z, or an offset east (+) or west (-) of Greenwich in hours and minutes.
    int offsetMinutes = 0;
    if (readChar(text, pos, "Zz")) {
        offsetMinutes = 0;
    } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        const int sign = text[pos] == '-' ? -1 : 1;
        ++pos;
        const auto hours = readDigits(text, pos, 2);
        if (!hours)
            return bad;
        int minutes = 0;
        if (pos < text.size()) {
            readChar(text, pos, ":");
            const auto m = readDigits(text, pos, 2);
            if (!m)
                return bad;
            minutes = *m;
        }
        if (*hours > 23 || minutes > 59)
            return shown(text) + " has an offset from UTC beyond 23:59";
        offsetMinutes = sign * (*hours * 60 + minutes);
    } else if (pos == text.size()) {
        return shown(text) + " gives no time zone; end it with Z for UTC or an offset such as +01:00";
    } else {
        return bad;
    }
    if (pos != text.size())
        return bad;

    if (local.hour > 23 || local.minute > 59 || local.second >= 61.0 ||
        !isRealCalendarDate(local.year, local.month, local.day))
        return shown(text) + " is not a real date and time";

    // Move the date and the minutes by the offset; the seconds stay, so that a leap second keeps
    // its 60 (it falls at the end of a UTC minute, which is a whole number of minutes from any
    // zone's minute).
    const sys_days localDay =
        year_month_day{std::chrono::year{local.year}, std::chrono::month{static_cast<unsigned>(local.month)},
                       std::chrono::day{static_cast<unsigned>(local.day)}};
    const sys_time<minutes> utcMinute =
        localDay + hours{local.hour} + minutes{local.minute} - minutes{offsetMinutes};
    const sys_days utcDay = floor<days>(utcMinute);
    const year_month_day date{utcDay};
    const hh_mm_ss clock{utcMinute - utcDay};
    UtcTime utc{static_cast<int>(date.year()),
                static_cast<int>(static_cast<unsigned>(date.month())),
                static_cast<int>(static_cast<unsigned>(date.day())),
                static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()),
                local.second};
    if (!isRealUtc(utc))
        return shown(text) +
               " is not a real date and time in UTC (23:59:60 only on a day with a leap second)";
    return utc;
}

std::optional<int> isoTimeOffsetMinutes(std::string_view text)
{
    if (!std::holds_alternative<UtcTime>(parseIsoTime(text)))
        return std::nullopt;
    // The text is a valid time: its zone is Z, or a sign after the date and the clock time
    // followed by hours and optional minutes.
    if (text.back() == 'Z' || text.back() == 'z')
        return 0;
    const std::size_t sign = text.find_last_of("+-");
    if (sign == std::string_view::npos || sign < 16)
        return std::nullopt;
    std::size_t pos = sign + 1;
    const auto hours = readDigits(text, pos, 2);
    int minutes = 0;
    if (pos < text.size()) {
        readChar(text, pos, ":");
        minutes = readDigits(text, pos, 2).value_or(0);
    }
    if (!hours)
        return std::nullopt;
    const int offset = *hours * 60 + minutes;
    return text[sign] == '-' ? -offset : offset;
}

int systemUtcOffsetMinutes(system_clock::time_point moment)
{
    const std::time_t seconds = system_clock::to_time_t(moment);
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}

UtcTime utcFromSystemClock(system_clock::time_point moment)
{
    const auto day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<microseconds>(moment - day)};
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<double>(clock.seconds().count()) +
                static_cast<double>(clock.subseconds().count()) * 1e-6};
}

} // namespace dazed
