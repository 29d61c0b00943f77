#pragma once

// Which constellation each stick-figure segment of linesrd belongs to, as the figures' source groups
// them. Entry i is the IAU abbreviation of segment i's constellation ("Ori"), spelled as in nameConst;
// the two parts of Serpens share "Ser". Generated with the line tables, in the same order.

#include "catalog/generated/CatalogSize.h"

namespace dazed {

extern const char* const lineConstellation[kLineCount];

} // namespace dazed
