#include "catalog/NameLookup.h"

#include "catalog/Angles.h"
#include "catalog/Catalog.h"
#include "catalog/FigureMembership.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>

namespace dazed {

namespace {

// Plain letters for the Latin-1 letters U+00C0..U+00FF, which UTF-8 writes as 0xC3 followed by
// 0x80..0xBF; '-' marks a sign that is no letter (multiplication, division) and is left out.
constexpr std::string_view kLatin1Plain = "aaaaaaaceeeeiiiidnooooo-ouuuuytsaaaaaaaceeeeiiiidnooooo-ouuuuyty";

// One spelling the lookup answers to, and the place it names.
struct Spelling {
    std::string text; // as the tables write it
    std::string key;
    int place{0}; // index into places()
};

struct Directory {
    std::vector<NamedPlace> places;
    std::vector<Spelling> spellings; // star names, then each constellation's name and abbreviation
};

bool isBlank(const char* text)
{
    return std::string_view(text).find_first_not_of(' ') == std::string_view::npos;
}

const Directory& directory()
{
    static const Directory built = [] {
        Directory d;
        for (int i = 0; i < kStarNameCount; ++i) {
            const float* row = &starNamesP[i * kStarNameStride];
            d.places.push_back({starNames[i],
                                NamedPlaceKind::Star,
                                {static_cast<double>(row[0]), static_cast<double>(row[1])}});
            d.spellings.push_back({starNames[i], nameKey(starNames[i]), i});
        }
        for (int row = 0; row < kConstellationCount; ++row) {
            const char* abbreviation = nameConst[2 * row];
            const char* name = nameConst[2 * row + 1];
            if (isBlank(abbreviation))
                continue; // the blank label row names nothing
            // Every constellation of the tables has a figure; the label point stands in should one
            // ever lose it.
            const float* label = &posMoyLines[row * kConstellationStride];
            const EquatorialPosition position =
                figureCentre(abbreviation)
                    .value_or(
                        EquatorialPosition{static_cast<double>(label[0]), static_cast<double>(label[1])});
            const int place = static_cast<int>(d.places.size());
            d.places.push_back({name, NamedPlaceKind::Constellation, position});
            d.spellings.push_back({name, nameKey(name), place});
            d.spellings.push_back({abbreviation, nameKey(abbreviation), place});
        }
        return d;
    }();
    return built;
}

// How far `query` is from `key`: the edit distance to the whole key, or one more than the distance
// to its beginning of the query's length, whichever is less.
int closeness(const std::string& query, const std::string& key)
{
    int distance = editDistance(query, key);
    if (key.size() > query.size())
        distance = std::min(distance, editDistance(query, std::string_view(key).substr(0, query.size())) + 1);
    return distance;
}

} // namespace

std::string nameKey(std::string_view name)
{
    std::string key;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80) {
            if (std::isalnum(byte))
                key += static_cast<char>(std::tolower(byte));
        } else if (byte == 0xC3 && i + 1 < name.size()) {
            const auto next = static_cast<unsigned char>(name[i + 1]);
            if (next >= 0x80 && next <= 0xBF) {
                const char plain = kLatin1Plain[next - 0x80];
                if (plain != '-')
                    key += plain;
                ++i;
            }
        }
    }
    return key;
}

int editDistance(std::string_view a, std::string_view b)
{
    // One row of the dynamic-programming table at a time: row[j] is the distance between the first
    // i characters of a and the first j of b.
    std::vector<int> row(b.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::optional<EquatorialPosition> figureCentre(std::string_view abbreviation)
{
    double x = 0, y = 0, z = 0;
    int ends = 0;
    for (int i = 0; i < kLineCount; ++i) {
        if (abbreviation != lineConstellation[i])
            continue;
        const float* segment = &linesrd[i * kLineStride];
        for (int end = 0; end < 2; ++end) {
            const UnitVector v =
                unitVector(static_cast<double>(segment[2 * end]), static_cast<double>(segment[2 * end + 1]));
            x += v.x;
            y += v.y;
            z += v.z;
            ++ends;
        }
    }
    const double length = std::sqrt(x * x + y * y + z * z);
    if (ends == 0 || length == 0)
        return std::nullopt;
    double hours = radiansTimes12OverPi(std::atan2(y, x));
    if (hours < 0)
        hours += 24.0;
    const double degrees = radiansTimes180OverPi(std::asin(std::clamp(z / length, -1.0, 1.0)));
    return EquatorialPosition{hours, degrees};
}

std::vector<std::string> closestNames(std::string_view name, int count)
{
    const std::string query = nameKey(name);
    const auto& spellings = directory().spellings;
    std::vector<std::pair<int, std::size_t>> ranked; // closeness, spelling index
    for (std::size_t i = 0; i < spellings.size(); ++i)
        ranked.emplace_back(closeness(query, spellings[i].key), i);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (const auto& [distance, index] : ranked) {
        if (static_cast<int>(names.size()) >= count)
            break;
        const std::string& text = spellings[index].text;
        if (std::find(names.begin(), names.end(), text) == names.end())
            names.push_back(text);
    }
    return names;
}

std::variant<NamedPlace, std::string> findNamedPlace(std::string_view name)
{
    // The name as typed, kept on one line.
    std::string shown(name);
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    const std::string key = nameKey(name);
    if (key.empty())
        return "'" + shown + "' is not a name; give a star or constellation such as Betelgeuse, Orion or Ori";

    const Directory& d = directory();
    for (const Spelling& spelling : d.spellings)
        if (spelling.key == key)
            return d.places[static_cast<std::size_t>(spelling.place)];
    std::string message = "no star or constellation is called '" + shown + "'";
    const auto suggestions = closestNames(name, 3);
    if (!suggestions.empty()) {
        message += "; the closest names are ";
        for (std::size_t i = 0; i < suggestions.size(); ++i)
            message += (i == 0 ? "" : i + 1 == suggestions.size() ? " and " : ", ") + suggestions[i];
    }
    return message;
}

} // namespace dazed

namespace dazed {

const std::vector<std::string>& namesInOrder()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::pair<std::string, std::string>> keyed; // key, name
        for (const NamedPlace& place : directory().places)
            keyed.emplace_back(nameKey(place.name), place.name);
        std::sort(keyed.begin(), keyed.end());
        keyed.erase(std::unique(keyed.begin(), keyed.end(),
                                [](const auto& a, const auto& b) { return a.second == b.second; }),
                    keyed.end());
        std::vector<std::string> out;
        out.reserve(keyed.size());
        for (auto& [key, name] : keyed)
            out.push_back(std::move(name));
        return out;
    }();
    return names;
}

std::vector<std::string> namesMatching(std::string_view filter)
{
    const std::string query = nameKey(filter);
    const auto& all = namesInOrder();
    if (query.empty())
        return all;
    std::vector<std::string> beginning;
    std::vector<std::string> inside;
    for (const std::string& name : all) {
        const std::string key = nameKey(name);
        const auto at = key.find(query);
        if (at == 0)
            beginning.push_back(name);
        else if (at != std::string::npos)
            inside.push_back(name);
    }
    beginning.insert(beginning.end(), inside.begin(), inside.end());
    const Directory& d = directory();
    for (const Spelling& spelling : d.spellings) {
        const NamedPlace& place = d.places[static_cast<std::size_t>(spelling.place)];
        if (place.kind != NamedPlaceKind::Constellation || spelling.key != query ||
            spelling.text == place.name)
            continue;
        if (std::find(beginning.begin(), beginning.end(), place.name) == beginning.end())
            beginning.push_back(place.name);
    }
    return beginning;
}

} // namespace dazed
