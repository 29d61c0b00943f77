#pragma once

#include <iosfwd>

namespace dazed {

// Prints what the compiled-in catalogue holds: counts and ranges of every table.
void printCatalogSummary(std::ostream& out);

} // namespace dazed
