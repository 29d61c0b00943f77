#pragma once

// A chart centre named on the command line instead of a right ascension and declination: a star or
// constellation (--at NAME), or the point overhead at a place (--overhead LAT,LON), now or at a
// given moment (--time).

#include "catalog/EquatorialPosition.h"
#include "sky/Zenith.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dazed {

// The three options as typed; each is set only when it was given (an empty value is still given).
struct CentreChoice {
    std::optional<std::string> at;       // a star or constellation name or abbreviation
    std::optional<std::string> overhead; // "LAT,LON" in degrees, north and east positive
    std::optional<std::string> time;     // ISO 8601 with Z or an offset; without it, now
    std::optional<std::string> place;    // "LAT,LON[,HEIGHT_M]": the sky of this place is drawn

    [[nodiscard]] bool empty() const { return !at && !overhead && !time && !place; }
};

// The J2000 centre the choice names, or a one-line message that opens with the option it is about
// ("--at: no star or constellation is called ..."). `now` is the moment --overhead uses when no
// --time is given. --at and --overhead exclude each other, and --time needs --overhead or
// --place. --place alone centres on that place's zenith.
std::variant<EquatorialPosition, std::string> resolveCentre(const CentreChoice& choice,
                                                            std::chrono::system_clock::time_point now);

// The sky layer's place and moment, from --place and --time.
struct SkyChoice {
    GeographicPlace place;
    std::optional<UtcTime> time; // none: the chart follows the clock
    int utcOffsetMinutes{0};     // of --time as typed, else of the system's clock now
    bool shown{true};            // a remembered place's sky starts as it was left, maybe hidden
};

// The sky layer the choice asks for: none without --place; else the place and the moment, or a
// one-line message naming the option (a place out of range, a time the models do not cover).
std::variant<std::optional<SkyChoice>, std::string>
resolveSkyChoice(const CentreChoice& choice, std::chrono::system_clock::time_point now);

// A place from "LAT,LON" or "LAT,LON,HEIGHT_M": as parseGeographicPlace, with an optional height
// above the ellipsoid in metres, finite and within -500 to 10000.
std::variant<GeographicPlace, std::string> parsePlaceWithHeight(std::string_view text);

// A place from "LAT,LON": decimal degrees, spaces allowed around each number, latitude within
// -90..+90 and longitude within -180..+180; otherwise a one-line message quoting the text.
std::variant<GeographicPlace, std::string> parseGeographicPlace(std::string_view text);

} // namespace dazed
