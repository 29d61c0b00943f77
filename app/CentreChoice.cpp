#include "app/CentreChoice.h"

#include "app/NumberParsing.h"
#include "catalog/NameLookup.h"
#include "sky/SolarSystem.h"

#include <algorithm>

namespace dazed {

namespace {

// The text as typed, on one line, for messages.
std::string quoted(std::string_view text)
{
    std::string s(text);
    std::replace_if(
        s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    return "'" + s + "'";
}

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The whole text as a finite number, spaces around it and a leading '+' allowed.
std::optional<double> number(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    return parseFiniteNumber(text);
}

} // namespace

std::variant<GeographicPlace, std::string> parseGeographicPlace(std::string_view text)
{
    const auto comma = text.find(',');
    const std::string form = " is not LAT,LON in degrees, north and east positive (for example 48.85,2.35)";
    if (comma == std::string_view::npos)
        return quoted(text) + form;
    const auto latitude = number(text.substr(0, comma));
    const auto longitude = number(text.substr(comma + 1));
    if (!latitude || !longitude)
        return quoted(text) + form;
    if (*latitude < -90.0 || *latitude > 90.0)
        return quoted(text) + " has a latitude outside -90 to +90 degrees";
    if (*longitude < -180.0 || *longitude > 180.0)
        return quoted(text) + " has a longitude outside -180 to +180 degrees";
    return GeographicPlace{*latitude, *longitude};
}

std::variant<GeographicPlace, std::string> parsePlaceWithHeight(std::string_view text)
{
    const auto second =
        text.find(',', text.find(',') == std::string_view::npos ? text.size() : text.find(',') + 1);
    if (second == std::string_view::npos)
        return parseGeographicPlace(text);
    auto place = parseGeographicPlace(text.substr(0, second));
    if (std::holds_alternative<std::string>(place))
        return quoted(text) + " is not LAT,LON[,HEIGHT_M] in degrees and metres (for example 48.85,2.35,35)";
    const auto height = number(text.substr(second + 1));
    if (!height)
        return quoted(text) + " is not LAT,LON[,HEIGHT_M] in degrees and metres (for example 48.85,2.35,35)";
    if (*height < -500.0 || *height > 10000.0)
        return quoted(text) + " has a height outside -500 to 10000 metres";
    std::get<GeographicPlace>(place).heightMetres = *height;
    return place;
}

std::variant<std::optional<SkyChoice>, std::string>
resolveSkyChoice(const CentreChoice& choice, std::chrono::system_clock::time_point now)
{
    if (!choice.place)
        return std::optional<SkyChoice>{};
    const auto place = parsePlaceWithHeight(*choice.place);
    if (const auto* message = std::get_if<std::string>(&place))
        return "--place: " + *message;
    SkyChoice sky;
    sky.place = std::get<GeographicPlace>(place);
    sky.utcOffsetMinutes = systemUtcOffsetMinutes(now);
    if (choice.time) {
        const auto parsed = parseIsoTime(*choice.time);
        if (const auto* message = std::get_if<std::string>(&parsed))
            return "--time: " + *message;
        const UtcTime moment = std::get<UtcTime>(parsed);
        if (const std::string problem = modelCoverageProblem(moment); !problem.empty())
            return "--time: " + quoted(*choice.time) + " " + problem;
        sky.time = moment;
        sky.utcOffsetMinutes = isoTimeOffsetMinutes(*choice.time).value_or(0);
    } else if (const std::string problem = modelCoverageProblem(utcFromSystemClock(now)); !problem.empty()) {
        return "--place: the system clock's time " + problem + "; give --time";
    }
    return std::optional<SkyChoice>{sky};
}

std::variant<EquatorialPosition, std::string> resolveCentre(const CentreChoice& choice,
                                                            std::chrono::system_clock::time_point now)
{
    if (choice.at && choice.overhead)
        return "--at and --overhead exclude each other: give one place to centre on";
    if (choice.time && !choice.overhead && !choice.place)
        return "--time needs --overhead or --place: it is the moment of that place's sky";

    if (choice.at) {
        auto found = findNamedPlace(*choice.at);
        if (const auto* message = std::get_if<std::string>(&found))
            return "--at: " + *message;
        return std::get<NamedPlace>(found).position;
    }

    if (!choice.overhead && !choice.place)
        return "no centre was chosen"; // callers ask only when one was
    const auto place =
        choice.overhead ? parseGeographicPlace(*choice.overhead) : parsePlaceWithHeight(*choice.place);
    if (const auto* message = std::get_if<std::string>(&place))
        return (choice.overhead ? "--overhead: " : "--place: ") + *message;
    UtcTime moment = utcFromSystemClock(now);
    if (choice.time) {
        const auto parsed = parseIsoTime(*choice.time);
        if (const auto* message = std::get_if<std::string>(&parsed))
            return "--time: " + *message;
        moment = std::get<UtcTime>(parsed);
    }
    const auto zenith = zenithJ2000(std::get<GeographicPlace>(place), moment);
    if (!zenith)
        return "--time: the sky of that moment cannot be worked out";
    return *zenith;
}

} // namespace dazed
