#pragma once

// `--place auto`: the place the system says the device is at (GeoClue), checked, or else the place
// the settings remember, with one line saying why the system's answer was not used.

#include "app/CentreChoice.h"
#include "platform/location/SystemLocation.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace dazed {

// What --place takes to ask the system.
inline constexpr std::string_view kAutoPlace = "auto";
// How long the window and render wait for the system's answer unless told (--place-timeout).
inline constexpr double kDefaultPlaceTimeoutSeconds = 5.0;

// Asks the system where the device is, waiting at most the time given (askSystemLocation; tests
// give a fake).
using AskLocation = std::function<Result<SystemLocation>(std::chrono::milliseconds)>;

// The timeout in seconds (finite, not negative) as the wait for the system's answer; at most an hour.
std::chrono::milliseconds placeTimeout(double seconds);

// Whether the choice's --place is `auto`.
bool asksForSystemPlace(const CentreChoice& choice);

struct AutoPlace {
    std::optional<GeographicPlace> place; // none: neither the system nor the settings know one
    bool fromSystem{false};
    // Empty when the system's place is used; else one line: why not, and what is used instead
    // ("GeoClue is not running on the system bus; using the remembered place 48.85, 2.35"), or
    // that no place is remembered.
    std::string note;
    // Why the system's answer was not used, alone ("GeoClue is not running on the system bus");
    // empty when it was.
    std::string why;
};

// Takes the system's answer when it is a place on the Earth (latitude -90..+90, longitude
// -180..+180 degrees, all finite; an altitude outside -500..10000 m or not finite is dropped, not
// the place), else falls back on `remembered`.
AutoPlace chooseAutoPlace(const Result<SystemLocation>& answer,
                          const std::optional<GeographicPlace>& remembered);

// The choice with its --place replaced by `place`, written so that it reads back to the same bits.
CentreChoice withPlace(CentreChoice choice, const GeographicPlace& place);

// A place as people read it: "48.85, 2.35" (two decimals, about a kilometre).
std::string placeForPeople(const GeographicPlace& place);

} // namespace dazed
