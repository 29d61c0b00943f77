#pragma once

// Finds a place on the sky by a name the chart shows: a star name ("Betelgeuse"), a constellation
// name ("Ursa Major") or a constellation's three-letter IAU abbreviation ("UMa"). Names match
// whatever their letter case, spacing and punctuation ("ursa major", "URSA  MAJOR", "ursa-major"),
// and accented Latin letters match their plain forms ("Boötes" is "Bootes"). Pure: everything comes
// from the compiled-in tables.

#include "catalog/EquatorialPosition.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dazed {

enum class NamedPlaceKind { Star, Constellation };

struct NamedPlace {
    std::string name; // as the chart writes it: "Betelgeuse", "Ursa Major"
    NamedPlaceKind kind{NamedPlaceKind::Star};
    // A star's catalogued position; a constellation's figure centre (see figureCentre).
    EquatorialPosition position;
};

// The place called `name`, or a one-line message saying that no star or constellation has that
// name, with up to three of the closest names (see closestNames).
std::variant<NamedPlace, std::string> findNamedPlace(std::string_view name);

// Up to `count` names the lookup knows, closest to `name` first: by the number of letters to change,
// add or remove to turn its key into a name's key, where a name that merely goes on after the
// query ("betel" for Betelgeuse) counts one more than the letters that differ in its beginning.
// Ties keep the order of the name tables; each spelling comes once.
std::vector<std::string> closestNames(std::string_view name, int count);

// The form names are compared in: ASCII letters and digits only, in lower case, with accented
// Latin-1 letters (UTF-8) replaced by their plain letters; spaces, punctuation and anything else
// are left out.
std::string nameKey(std::string_view name);

// The Levenshtein distance between two byte strings.
int editDistance(std::string_view a, std::string_view b);

// Every star and constellation name the lookup knows, each once, as the chart writes it, in
// alphabetical order of their keys (see nameKey: "Boötes" sorts as "bootes"); abbreviations are
// not names of their own.
const std::vector<std::string>& namesInOrder();

// The names of namesInOrder() that `filter` picks, in that order: all of them for a filter with an
// empty key; else those whose key begins with the filter's key, then those that hold it further
// on, then the constellation whose abbreviation it is (the one for "UMa" is Ursa Major), each once.
std::vector<std::string> namesMatching(std::string_view filter);

// The middle of a constellation's stick figure: the mean of the unit vectors of both ends of each of
// its segments, normalised. `abbreviation` is spelled as in nameConst ("Ori"); nothing when no
// segment belongs to it.
std::optional<EquatorialPosition> figureCentre(std::string_view abbreviation);

} // namespace dazed
