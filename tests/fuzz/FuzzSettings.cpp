// The settings file: parsed from the bytes. A refusal is one line; accepted settings hold a place
// on the Earth, and what they serialise to reads back to the same settings.

#include "FuzzTarget.h"
#include "app/Settings.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace dazed;
    const auto parsed = parseSettings(fuzz::bytes(data, size));
    if (const auto* message = std::get_if<std::string>(&parsed)) {
        fuzz::require(!message->empty() && message->find('\n') == std::string::npos, "a refusal is one line");
        return 0;
    }
    const Settings& settings = std::get<Settings>(parsed);
    if (settings.place) {
        const GeographicPlace& p = *settings.place;
        fuzz::require(std::isfinite(p.latitudeDegrees) && std::abs(p.latitudeDegrees) <= 90.0 &&
                          std::isfinite(p.longitudeDegrees) && std::abs(p.longitudeDegrees) <= 180.0 &&
                          std::isfinite(p.heightMetres) && p.heightMetres >= -500.0 &&
                          p.heightMetres <= 10000.0,
                      "a remembered place is on the Earth");
    }
    const auto again = parseSettings(serialiseSettings(settings));
    fuzz::require(std::holds_alternative<Settings>(again) && std::get<Settings>(again) == settings,
                  "written settings read back the same");
    return 0;
}
