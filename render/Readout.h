#pragma once

// The sexagesimal readout of the view centre shown in the panel at the top left.

#include <array>
#include <cstddef>

namespace dazed {

// Each field truncated toward zero, none rounded and none carried into the next; a negative
// declination makes every non-zero declination field negative.
struct ReadoutFields {
    int h{0};
    int m{0};
    int s{0};
    int d{0};
    int am{0};
    int as{0};

    friend bool operator==(const ReadoutFields&, const ReadoutFields&) = default;
};

// A double truncated toward zero to an int, as each field is. Values beyond the int range are held
// at its ends and a NaN or infinite value gives 0, so no value is ever converted out of range.
int truncateToInt(double value);

ReadoutFields readoutFields(double rightAscensionHours, double declinationDegrees);

inline constexpr std::size_t kReadoutBufferSize = 50;
using ReadoutText = std::array<char, kReadoutBufferSize>;

// "Ra : 17h 00mn 00s  De : 31d 00' 00" followed by a double quote and a space; NUL-terminated,
// cut short rather than overrun when the fields are very large.
ReadoutText formatReadout(const ReadoutFields& fields);

} // namespace dazed
