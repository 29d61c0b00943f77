#include "app/Settings.h"

#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

namespace dazed {

namespace {

// A settings file nests two levels (the object and its place); deeper text is not one, and is
// refused before it is parsed.
constexpr int kMaxNesting = 8;

constexpr std::array<std::pair<DeviceMode, std::string_view>, 3> kDeviceNames{
    {{DeviceMode::Phone, "phone"}, {DeviceMode::Tablet, "tablet"}, {DeviceMode::Fit, "fit"}}};

bool nestsTooDeep(std::string_view text)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"')
            inString = true;
        else if (c == '{' || c == '[') {
            if (++depth > kMaxNesting)
                return true;
        } else if (c == '}' || c == ']')
            --depth;
    }
    return false;
}

// A number of the place within [low, high]; nothing when it is missing, not a number or out of range.
std::optional<double> coordinate(const nlohmann::json& place, const char* key, double low, double high)
{
    const auto it = place.find(key);
    if (it == place.end() || !it->is_number())
        return std::nullopt;
    const double value = it->get<double>();
    if (!std::isfinite(value) || value < low || value > high)
        return std::nullopt;
    return value;
}

std::variant<std::optional<GeographicPlace>, std::string> parsePlace(const nlohmann::json& doc)
{
    const auto it = doc.find("place");
    if (it == doc.end() || it->is_null())
        return std::optional<GeographicPlace>{};
    if (!it->is_object())
        return std::string("\"place\" must be an object with a latitude and a longitude");
    const auto latitude = coordinate(*it, "latitude", -90.0, 90.0);
    const auto longitude = coordinate(*it, "longitude", -180.0, 180.0);
    if (!latitude || !longitude)
        return std::string("\"place\" must have a latitude within -90 to +90 and a longitude within -180 to "
                           "+180 degrees");
    GeographicPlace place{*latitude, *longitude};
    if (it->contains("height")) {
        const auto height = coordinate(*it, "height", -500.0, 10000.0);
        if (!height)
            return std::string("\"place\" has a height that is not -500 to 10000 metres");
        place.heightMetres = *height;
    }
    return std::optional<GeographicPlace>{place};
}

} // namespace

bool operator==(const Settings& a, const Settings& b)
{
    const auto samePlace = [](const GeographicPlace& p, const GeographicPlace& q) {
        return p.latitudeDegrees == q.latitudeDegrees && p.longitudeDegrees == q.longitudeDegrees &&
               p.heightMetres == q.heightMetres;
    };
    return a.nightMode == b.nightMode && a.layerShown == b.layerShown && a.device == b.device &&
           a.place.has_value() == b.place.has_value() && (!a.place || samePlace(*a.place, *b.place));
}

std::string_view deviceModeName(DeviceMode mode)
{
    for (const auto& [m, name] : kDeviceNames)
        if (m == mode)
            return name;
    return "phone";
}

std::optional<DeviceMode> deviceModeNamed(std::string_view name)
{
    for (const auto& [m, n] : kDeviceNames)
        if (n == name)
            return m;
    return std::nullopt;
}

std::variant<Settings, std::string> parseSettings(std::string_view text)
{
    if (nestsTooDeep(text))
        return std::string("nests deeper than a settings file does");
    const auto doc = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (doc.is_discarded())
        return std::string("is not valid JSON");
    if (!doc.is_object())
        return std::string("the top level must be an object");

    Settings settings;
    for (auto [key, field] :
         {std::pair{"nightMode", &settings.nightMode}, std::pair{"layer", &settings.layerShown}}) {
        const auto it = doc.find(key);
        if (it == doc.end())
            continue;
        if (!it->is_boolean())
            return std::string("\"") + key + "\" must be true or false";
        *field = it->get<bool>();
    }
    auto place = parsePlace(doc);
    if (const auto* message = std::get_if<std::string>(&place))
        return *message;
    settings.place = std::get<std::optional<GeographicPlace>>(place);
    if (const auto it = doc.find("device"); it != doc.end() && !it->is_null()) {
        const auto mode = it->is_string() ? deviceModeNamed(it->get_ref<const std::string&>()) : std::nullopt;
        if (!mode)
            return std::string("\"device\" must be \"phone\", \"tablet\" or \"fit\"");
        settings.device = mode;
    }
    return settings;
}

std::string serialiseSettings(const Settings& settings)
{
    // Members in a fixed order, so that the file reads the same from one write to the next.
    nlohmann::ordered_json doc;
    doc["nightMode"] = settings.nightMode;
    doc["layer"] = settings.layerShown;
    if (settings.place) {
        nlohmann::ordered_json place;
        place["latitude"] = settings.place->latitudeDegrees;
        place["longitude"] = settings.place->longitudeDegrees;
        place["height"] = settings.place->heightMetres;
        doc["place"] = place;
    }
    if (settings.device)
        doc["device"] = std::string(deviceModeName(*settings.device));
    return doc.dump(2) + "\n";
}

} // namespace dazed
