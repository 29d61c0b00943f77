#pragma once

namespace dazed {

// Converts ecliptic longitude and latitude (degrees) to right ascension (degrees, 0..360) and
// declination (degrees, -90..+90) for the obliquity of the given year. Results go to the
// out-parameters, right ascension first. A NaN input gives NaN results. Pure and reentrant.
void ecliptic_to_equatorial(double year, double longitude, double latitude, double* rightAscension,
                            double* declination);

// Obliquity of the ecliptic in degrees for T centuries from 1900.0.
double obliquity_degrees(double centuriesFrom1900);

} // namespace dazed
