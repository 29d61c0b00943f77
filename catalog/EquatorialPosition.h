#pragma once

namespace dazed {

// A direction on the sky in J2000 equatorial coordinates, in the units the chart's centre takes:
// right ascension in hours (0 to 24) and declination in degrees (-90 to +90).
struct EquatorialPosition {
    double rightAscensionHours{0};
    double declinationDegrees{0};
};

} // namespace dazed
