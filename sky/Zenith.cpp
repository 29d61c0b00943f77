#include "sky/Zenith.h"

#include "sky/TimeScales.h"

#include <erfa.h>
#include <erfam.h>

namespace dazed {

std::optional<EquatorialPosition> zenithJ2000(const GeographicPlace& place, const UtcTime& time)
{
    const auto scales = timeScalesOf(time);
    if (!scales)
        return std::nullopt;
    const double tt1 = scales->tt1, tt2 = scales->tt2, ut11 = scales->ut11, ut12 = scales->ut12;

    // The zenith in the true equator and equinox of date: right ascension the local apparent
    // sidereal time (radians), declination the latitude.
    const double localSiderealTime = eraGst06a(ut11, ut12, tt1, tt2) + place.longitudeDegrees * ERFA_DD2R;
    double ofDate[3];
    eraS2c(localSiderealTime, place.latitudeDegrees * ERFA_DD2R, ofDate);

    // Back to J2000: the bias-precession-nutation matrix takes J2000 (GCRS) to the true frame of
    // date, so its transpose takes the zenith back.
    double biasPrecessionNutation[3][3];
    eraPnm06a(tt1, tt2, biasPrecessionNutation);
    double j2000[3];
    eraTrxp(biasPrecessionNutation, ofDate, j2000);

    double rightAscension = 0, declination = 0;
    eraC2s(j2000, &rightAscension, &declination);
    double hours = eraAnp(rightAscension) * ERFA_DR2D / 15.0;
    if (hours >= 24.0)
        hours = 0.0; // a hair below 2 pi rounds up
    return EquatorialPosition{hours, declination * ERFA_DR2D};
}

} // namespace dazed
