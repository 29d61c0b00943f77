// Generates the star, declination-index and constellation-segment tables, and the constellation of
// each segment, from the Yale Bright Star Catalogue (5th revised edition, as shipped in Debian's
// xplanet package) and the constellation figures of the d3-celestial npm package. Run through
// tools/regenerate-catalog.

#include "catalog/Angles.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using dazed::degreesOver15;
using dazed::degreesTimesPiOver180;
using dazed::hoursTimesPiOver12;
using dazed::kPi;
using dazed::radiansTimes12OverPi;
using dazed::radiansTimes180OverPi;
using dazed::separation;
using dazed::UnitVector;

constexpr double kArcsecond = kPi / (180.0 * 3600.0);
constexpr double kMergeRadius = 5.0 * kArcsecond; // closer entries are one unresolved system
constexpr double kSnapLimitDegrees = 0.003;       // every figure vertex lies this close to a star
constexpr float kMagnitudeLimit = 5.0f;

struct BscEntry {
    double decDegrees;
    double raHours;
    double magnitude;
};

// One star as it is stored: the single-precision values that the tables hold.
struct StoredStar {
    float ra;  // radians
    float dec; // radians
    float magnitude;
    float sinDec;
    float cosDec;
};

struct Segment {
    StoredStar end1;
    StoredStar end2;
    std::string constellation; // the figure's IAU abbreviation, as the source's feature id
};

UnitVector unitVector(double raHours, double decDegrees)
{
    return dazed::unitVector(hoursTimesPiOver12(raHours), degreesTimesPiOver180(decDegrees));
}

std::vector<BscEntry> readBsc(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<BscEntry> entries;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty() || line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#')
            continue;
        std::istringstream fields(line);
        BscEntry e{};
        if (!(fields >> e.decDegrees >> e.raHours >> e.magnitude))
            throw std::runtime_error(path + ":" + std::to_string(lineNumber) +
                                     ": expected Dec, RA, magnitude");
        entries.push_back(e);
    }
    return entries;
}

StoredStar store(double raHours, double decDegrees, double magnitude)
{
    StoredStar s{};
    s.ra = static_cast<float>(hoursTimesPiOver12(raHours));
    s.dec = static_cast<float>(degreesTimesPiOver180(decDegrees));
    s.magnitude = static_cast<float>(magnitude);
    // The trigonometric columns belong to the stored declination, not to the decimal one.
    s.sinDec = static_cast<float>(std::sin(static_cast<double>(s.dec)));
    s.cosDec = static_cast<float>(std::cos(static_cast<double>(s.dec)));
    return s;
}

// Merges entries closer than the merge radius (transitively) into one star at the brightest
// component's position with the combined magnitude, rounded to 0.01.
std::vector<StoredStar> mergeSystems(const std::vector<BscEntry>& entries)
{
    const std::size_t n = entries.size();
    std::vector<UnitVector> vectors(n);
    for (std::size_t i = 0; i < n; ++i)
        vectors[i] = unitVector(entries[i].raHours, entries[i].decDegrees);

    std::vector<std::size_t> parent(n);
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    auto find = [&](std::size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (std::abs(entries[i].decDegrees - entries[j].decDegrees) < 0.01 &&
                separation(vectors[i], vectors[j]) < kMergeRadius)
                parent[find(j)] = find(i);

    std::vector<std::vector<std::size_t>> groups(n);
    for (std::size_t i = 0; i < n; ++i)
        groups[find(i)].push_back(i);

    std::vector<StoredStar> stars;
    for (const auto& group : groups) {
        if (group.empty())
            continue;
        std::size_t brightest = group.front();
        double flux = 0.0;
        for (std::size_t i : group) {
            flux += std::pow(10.0, -0.4 * entries[i].magnitude);
            if (entries[i].magnitude < entries[brightest].magnitude)
                brightest = i;
        }
        const double combined = std::round(-2.5 * std::log10(flux) * 100.0) / 100.0;
        stars.push_back(store(entries[brightest].raHours, entries[brightest].decDegrees, combined));
    }
    return stars;
}

const StoredStar& nearestStar(const std::vector<StoredStar>& stars, double raHours, double decDegrees)
{
    const auto target = unitVector(raHours, decDegrees);
    const StoredStar* best = nullptr;
    double bestDistance = 1e9;
    for (const auto& s : stars) {
        const double ra = radiansTimes12OverPi(s.ra);
        const double dec = radiansTimes180OverPi(s.dec);
        const double d = separation(target, unitVector(ra, dec));
        if (d < bestDistance) {
            bestDistance = d;
            best = &s;
        }
    }
    if (best == nullptr || radiansTimes180OverPi(bestDistance) > kSnapLimitDegrees) {
        std::ostringstream msg;
        msg << "figure vertex at RA " << raHours << " h, Dec " << decDegrees << " deg is "
            << radiansTimes180OverPi(bestDistance) << " deg from the nearest catalogue star";
        throw std::runtime_error(msg.str());
    }
    return *best;
}

std::vector<Segment> readFigures(const std::string& path, const std::vector<StoredStar>& allStars)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    const auto doc = nlohmann::json::parse(in);
    std::vector<Segment> segments;
    for (const auto& feature : doc.at("features")) {
        for (const auto& line : feature.at("geometry").at("coordinates")) {
            const StoredStar* previous = nullptr;
            for (const auto& vertex : line) {
                double lon = vertex.at(0).get<double>();
                const double lat = vertex.at(1).get<double>();
                if (lon < 0.0)
                    lon += 360.0;
                const StoredStar& star = nearestStar(allStars, degreesOver15(lon), lat);
                if (previous != nullptr) {
                    if (previous == &star)
                        throw std::runtime_error("zero-length segment in " +
                                                 feature.at("id").get<std::string>());
                    segments.push_back({*previous, star, feature.at("id").get<std::string>()});
                }
                previous = &star;
            }
        }
    }
    return segments;
}

std::string literal(float v)
{
    std::array<char, 32> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    if (ec != std::errc{})
        throw std::runtime_error("cannot format a float");
    std::string s(buf.data(), end);
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s + "f";
}

const char* const kSourceHeader = R"(// GENERATED by tools/regenerate-catalog; do not edit. Regenerate with:
//     tools/regenerate-catalog          (writes catalog/generated/)
//     tools/regenerate-catalog --check  (regenerates into a scratch folder and compares byte for byte)
//
// Sources:
//   Stars: Yale Bright Star Catalogue, 5th revised edition (Hoffleit & Warren 1991), J2000, as the file
//     stars/BSC of Debian's xplanet package (package licence GPL-2+; the catalogue itself is published
//     by the Yale University Observatory and distributed freely through the astronomical data centres).
//     Entries closer than 5 arcseconds are merged into one star at the brightest component's position
//     with the combined magnitude, rounded to 0.01; stars brighter than magnitude 5.0 are kept.
//   Constellation figures: data/constellations.lines.json of the npm package d3-celestial
//     (BSD-3-Clause, see NOTICE), every vertex snapped to the nearest merged catalogue star.
)";

void writeStarTables(const std::string& dir, const std::vector<StoredStar>& stars,
                     const std::vector<float>& index)
{
    std::ofstream out(dir + "/StarTables.cpp", std::ios::binary);
    out << kSourceHeader << "\n#include \"catalog/Catalog.h\"\n\nnamespace dazed {\n\n";
    out << "// RA (rad), Dec (rad), magnitude, sin Dec, cos Dec\n";
    out << "const float starrd[kStarCount * kStarStride] = {\n";
    for (std::size_t i = 0; i < stars.size(); ++i) {
        const auto& s = stars[i];
        out << "    " << literal(s.ra) << ", " << literal(s.dec) << ", " << literal(s.magnitude) << ", "
            << literal(s.sinDec) << ", " << literal(s.cosDec) << ", // " << i << "\n";
    }
    out << "};\n\n";
    out << "// Entry k: index of the first star at or north of (k - 89) degrees.\n";
    out << "const float starpt[kStarIndexCount] = {\n";
    for (std::size_t k = 0; k < index.size(); ++k)
        out << (k % 10 == 0 ? "    " : " ") << literal(index[k]) << "," << (k % 10 == 9 ? "\n" : "");
    out << "\n};\n\n} // namespace dazed\n";
    if (!out)
        throw std::runtime_error("cannot write " + dir + "/StarTables.cpp");
}

void writeLineTables(const std::string& dir, const std::vector<Segment>& segments)
{
    std::ofstream out(dir + "/LineTables.cpp", std::ios::binary);
    out << kSourceHeader << "\n#include \"catalog/Catalog.h\"\n\nnamespace dazed {\n\n";
    out << "// RA1, Dec1, RA2, Dec2 (rad), sin Dec1, cos Dec1, sin Dec2, cos Dec2\n";
    out << "const float linesrd[kLineCount * kLineStride] = {\n";
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const auto& g = segments[i];
        out << "    " << literal(g.end1.ra) << ", " << literal(g.end1.dec) << ", " << literal(g.end2.ra)
            << ", " << literal(g.end2.dec) << ", " << literal(g.end1.sinDec) << ", " << literal(g.end1.cosDec)
            << ", " << literal(g.end2.sinDec) << ", " << literal(g.end2.cosDec) << ", // " << i << "\n";
    }
    out << "};\n\n} // namespace dazed\n";
    if (!out)
        throw std::runtime_error("cannot write " + dir + "/LineTables.cpp");
}

// One abbreviation per segment, in the order of linesrd: ten to a line, each line opening with a
// comment that gives the index of its first entry.
void writeFigureTables(const std::string& dir, const std::vector<Segment>& segments)
{
    std::ofstream out(dir + "/FigureTables.cpp", std::ios::binary);
    out << kSourceHeader << "\n#include \"catalog/FigureMembership.h\"\n\nnamespace dazed {\n\n";
    out << "// The constellation of each linesrd segment, by IAU abbreviation.\n";
    out << "const char* const lineConstellation[kLineCount] = {\n";
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i % 10 == 0)
            out << "    /* " << i << " */";
        out << " \"" << segments[i].constellation << "\",";
        if (i % 10 == 9 || i + 1 == segments.size())
            out << "\n";
    }
    out << "};\n\n} // namespace dazed\n";
    if (!out)
        throw std::runtime_error("cannot write " + dir + "/FigureTables.cpp");
}

void writeSizes(const std::string& dir, std::size_t starCount, std::size_t lineCount)
{
    std::ofstream out(dir + "/CatalogSize.h", std::ios::binary);
    out << "#pragma once\n\n" << kSourceHeader << "\nnamespace dazed {\n\n";
    out << "inline constexpr int kStarCount = " << starCount << ";\n";
    out << "inline constexpr int kLineCount = " << lineCount << ";\n";
    out << "\n} // namespace dazed\n";
    if (!out)
        throw std::runtime_error("cannot write " + dir + "/CatalogSize.h");
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Generates the catalogue tables"};
    std::string bscPath;
    std::string figuresPath;
    std::string outDir;
    app.add_option("--bsc", bscPath, "xplanet's stars/BSC file")->required()->check(CLI::ExistingFile);
    app.add_option("--figures", figuresPath, "d3-celestial's data/constellations.lines.json")
        ->required()
        ->check(CLI::ExistingFile);
    app.add_option("--out", outDir, "folder for the generated sources")
        ->required()
        ->check(CLI::ExistingDirectory);
    CLI11_PARSE(app, argc, argv);

    try {
        const auto entries = readBsc(bscPath);
        const auto merged = mergeSystems(entries);
        auto segments = readFigures(figuresPath, merged);

        std::vector<StoredStar> stars;
        std::copy_if(merged.begin(), merged.end(), std::back_inserter(stars),
                     [](const StoredStar& s) { return s.magnitude < kMagnitudeLimit; });
        std::stable_sort(stars.begin(), stars.end(),
                         [](const StoredStar& a, const StoredStar& b) { return a.dec < b.dec; });
        std::stable_sort(segments.begin(), segments.end(),
                         [](const Segment& a, const Segment& b) { return a.end1.dec < b.end1.dec; });

        // The same comparison the star pass makes: stored declination widened to double against
        // the band edge in radians.
        std::vector<float> index(179);
        for (int k = 0; k < 179; ++k) {
            const double edge = degreesTimesPiOver180(k - 89);
            const auto count = std::count_if(stars.begin(), stars.end(), [&](const StoredStar& s) {
                return static_cast<double>(s.dec) < edge;
            });
            index[static_cast<std::size_t>(k)] = static_cast<float>(count);
        }

        writeStarTables(outDir, stars, index);
        writeLineTables(outDir, segments);
        writeFigureTables(outDir, segments);
        writeSizes(outDir, stars.size(), segments.size());
        std::cout << entries.size() << " catalogue entries, " << merged.size() << " after merging, "
                  << stars.size() << " brighter than " << kMagnitudeLimit << "; " << segments.size()
                  << " figure segments\n";
    } catch (const std::exception& e) {
        std::cerr << "catalog_gen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
