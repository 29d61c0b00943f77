#include "render/Readout.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace dazed {

int truncateToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

ReadoutFields readoutFields(double ra, double dec)
{
    // The whole parts are multiplied back as doubles: for every field in range that is the exact
    // integer product, and it cannot overflow for held values.
    ReadoutFields f;
    f.d = truncateToInt(dec);
    f.am = truncateToInt(dec * 60.0 - f.d * 60.0);
    f.h = truncateToInt(ra);
    f.m = truncateToInt(ra * 60.0 - f.h * 60.0);
    f.s = truncateToInt(ra * 3600.0 - f.h * 3600.0 - f.m * 60.0);
    f.as = truncateToInt(dec * 3600.0 - f.d * 3600.0 - f.am * 60.0);
    return f;
}

ReadoutText formatReadout(const ReadoutFields& f)
{
    ReadoutText text{};
    std::snprintf(text.data(), text.size(), "Ra : %2.2dh %2.2dmn %2.2ds  De : %2.2dd %2.2d' %2.2d\" ", f.h,
                  f.m, f.s, f.d, f.am, f.as);
    return text;
}

} // namespace dazed
