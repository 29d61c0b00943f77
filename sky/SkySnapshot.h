#pragma once

// What the sky of one place at one moment looks like on the chart, as plain values: the horizon's
// frame and the Sun, the Moon and the planets, all as directions in the chart's J2000 frame.
// Worked out once when the time or the place changes (computeSkySnapshot, sky/SolarSystem.h) and
// handed to the view, which only projects and draws it.

#include "catalog/Angles.h"
#include "sky/UtcTime.h"
#include "sky/Zenith.h"

#include <array>

namespace dazed {

enum class SolarSystemBody : int { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune };
inline constexpr int kSolarSystemBodyCount = 9;

// The body's name as the chart writes it.
const char* bodyName(SolarSystemBody body);

// One body seen from the place. `direction` is astrometric: where the body was when the light now
// arriving left it (light time), seen from the place (topocentric), without annual aberration,
// exactly as the catalogue's stars are given, so that the body sits among them as seen.
struct BodyView {
    SolarSystemBody body{SolarSystemBody::Sun};
    UnitVector direction;             // J2000 mean equator and equinox (ICRS axes)
    double distanceAu{0};             // from the place
    double angularDiameterDegrees{0}; // the disc's diameter seen from the place
    double magnitude{0};              // apparent visual magnitude; the Sun's and Moon's are nominal
    double illuminatedFraction{1};    // 0 new .. 1 full, (1 + cos phase angle) / 2
    double brightLimbAngleDegrees{0}; // position angle of the bright limb's middle, from J2000
                                      // north through east, 0..360 (the Sun's direction)
};

// The horizon's frame of the place: the zenith (the horizon's pole) and the north and east points
// of the horizon, unit vectors in the same J2000 frame; north x zenith = east.
struct HorizonFrame {
    UnitVector zenith;
    UnitVector north;
    UnitVector east;
};

struct SkySnapshot {
    GeographicPlace place;
    UtcTime time;            // the moment, UTC
    int utcOffsetMinutes{0}; // the local clock's offset from UTC, for the readout
    HorizonFrame horizon;
    std::array<BodyView, kSolarSystemBodyCount> bodies{};

    [[nodiscard]] const BodyView& operator[](SolarSystemBody b) const
    {
        return bodies[static_cast<std::size_t>(b)];
    }
};

} // namespace dazed
