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

    [[nodiscard]] bool empty() const { return !at && !overhead && !time; }
};

// The J2000 centre the choice names, or a one-line message that opens with the option it is about
// ("--at: no star or constellation is called ..."). `now` is the moment --overhead uses when no
// --time is given. --at and --overhead exclude each other, and --time needs --overhead.
std::variant<EquatorialPosition, std::string> resolveCentre(const CentreChoice& choice,
                                                            std::chrono::system_clock::time_point now);

// A place from "LAT,LON": decimal degrees, spaces allowed around each number, latitude within
// -90..+90 and longitude within -180..+180; otherwise a one-line message quoting the text.
std::variant<GeographicPlace, std::string> parseGeographicPlace(std::string_view text);

} // namespace dazed
