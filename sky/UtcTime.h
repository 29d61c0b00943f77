#pragma once

// A moment as a UTC calendar date and clock time, read from ISO 8601 text or taken from the
// system clock. UTC here is the civil time scale with leap seconds: 23:59:60 exists on the days
// that have one.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dazed {

struct UtcTime {
    int year{2000};
    int month{1}; // 1..12
    int day{1};   // 1..31
    int hour{0};  // 0..23
    int minute{0};
    double second{0}; // 0 up to 60, or up to 61 in a leap second

    friend bool operator==(const UtcTime&, const UtcTime&) = default;
};

// Reads "2026-12-08T21:30:00Z" or the same with an offset from UTC ("2026-12-08T22:30:00+01:00",
// also "+0100" or "+01"), with seconds optional and a fraction of a second allowed; 't' or a space
// may stand for 'T' and 'z' for 'Z'. The result is in UTC. A time without a zone, a date or time
// that does not exist (2026-02-30, 25:00, a leap second on a day without one) or any other text is
// refused with a one-line message that quotes it.
std::variant<UtcTime, std::string> parseIsoTime(std::string_view text);

// The offset from UTC (minutes, east positive) that text parseIsoTime reads names: 0 for Z.
// Nothing for text parseIsoTime refuses.
std::optional<int> isoTimeOffsetMinutes(std::string_view text);

// The system's local clock's offset from UTC (minutes, east positive) at `moment`, as its time
// zone rules give it; 0 when the system cannot tell.
int systemUtcOffsetMinutes(std::chrono::system_clock::time_point moment);

// Whether the fields name a moment of UTC: a day of its month, a clock time within the day, and a
// 60th second only on a day that ends with a leap second.
bool isRealUtc(const UtcTime& time);

// The system clock's moment in UTC. The system clock counts no leap seconds, so during one this
// gives 23:59:59 twice; the chart cannot tell.
UtcTime utcFromSystemClock(std::chrono::system_clock::time_point moment);

} // namespace dazed
