#pragma once

// The constant sky tables every frame is drawn from. They are flat arrays with a fixed stride and
// no header: the counts below are properties of the data and the loop bounds of every pass.
// Positions are for the J2000 equinox.

#include "catalog/generated/CatalogSize.h"

namespace dazed {

// starrd: the star catalogue, sorted by declination (ascending).
// Record fields: RA (radians, 0..2pi), Dec (radians), V magnitude, sin(Dec), cos(Dec).
inline constexpr int kStarStride = 5;
extern const float starrd[kStarCount * kStarStride];

// starpt: declination index of starrd. Entry k (a whole number held in a float) is the index of
// the first record at or north of (k - 89) degrees.
inline constexpr int kStarIndexCount = 179;
extern const float starpt[kStarIndexCount];

// linesrd: constellation stick-figure segments, sorted by the declination of end 1.
// Record fields: RA1, Dec1, RA2, Dec2 (radians), sin(Dec1), cos(Dec1), sin(Dec2), cos(Dec2).
// The segment count is a generated constant: loops use kLineCount, never a literal.
inline constexpr int kLineStride = 8;
extern const float linesrd[kLineCount * kLineStride];

// starNames / starNamesP: named bright stars. Note the units: RA in hours, Dec in degrees.
// Record fields: RA (h), Dec (deg), V magnitude.
inline constexpr int kStarNameCount = 73;
inline constexpr int kStarNameStride = 3;
extern const char* const starNames[kStarNameCount];
extern const float starNamesP[kStarNameCount * kStarNameStride];

// nameConst / posMoyLines: constellation labels. nameConst holds (abbreviation, full name) pairs;
// posMoyLines holds the label point, RA (h) and Dec (deg), and the constellation number.
// Row 5 is a blank row (three and eight spaces at 0 h, 0 deg) that shares number 5 with row 6.
inline constexpr int kConstellationCount = 89;
inline constexpr int kConstellationStride = 3;
extern const char* const nameConst[kConstellationCount * 2];
extern const float posMoyLines[kConstellationCount * kConstellationStride];

} // namespace dazed
