#include "app/AutoPlace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dazed {

namespace {

std::string numberText(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Why an answer is not a place on the Earth; empty when it is one.
std::string nonsense(const SystemLocation& location)
{
    const double lat = location.latitudeDegrees;
    const double lon = location.longitudeDegrees;
    if (std::isfinite(lat) && std::isfinite(lon) && std::abs(lat) <= 90.0 && std::abs(lon) <= 180.0)
        return {};
    return "GeoClue answered a place off the Earth (latitude " + numberText("%g", lat) + ", longitude " +
           numberText("%g", lon) + ")";
}

} // namespace

std::chrono::milliseconds placeTimeout(double seconds)
{
    return std::chrono::milliseconds(static_cast<long long>(std::clamp(seconds, 0.0, 3600.0) * 1000.0));
}

bool asksForSystemPlace(const CentreChoice& choice)
{
    return choice.place && *choice.place == kAutoPlace;
}

std::string placeForPeople(const GeographicPlace& place)
{
    return numberText("%.2f", place.latitudeDegrees) + ", " + numberText("%.2f", place.longitudeDegrees);
}

AutoPlace chooseAutoPlace(const Result<SystemLocation>& answer,
                          const std::optional<GeographicPlace>& remembered)
{
    std::string why;
    if (!answer) {
        why = answer.error().message;
    } else if (why = nonsense(answer.value()); why.empty()) {
        const SystemLocation& location = answer.value();
        GeographicPlace place{location.latitudeDegrees, location.longitudeDegrees};
        if (const auto altitude = location.altitudeMetres;
            altitude && std::isfinite(*altitude) && *altitude >= -500.0 && *altitude <= 10000.0)
            place.heightMetres = *altitude;
        return {place, true, {}, {}};
    }
    if (remembered)
        return {remembered, false, why + "; using the remembered place " + placeForPeople(*remembered), why};
    return {std::nullopt, false, why + ", and no place is remembered", why};
}

CentreChoice withPlace(CentreChoice choice, const GeographicPlace& place)
{
    // %.17g gives back every bit of a double.
    choice.place = numberText("%.17g", place.latitudeDegrees) + "," +
                   numberText("%.17g", place.longitudeDegrees) + "," +
                   numberText("%.17g", place.heightMetres);
    return choice;
}

} // namespace dazed
