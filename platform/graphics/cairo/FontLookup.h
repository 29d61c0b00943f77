#pragma once

// Resolves the font names the chart asks for ("Helvetica") to the family fontconfig installs in
// their place (URW Nimbus Sans on Debian), so that the text looks the same on every machine with
// the project's packages.

#include <string>

namespace dazed {

// The family fontconfig matches for `name`; `name` itself when fontconfig finds nothing.
// Results are cached for the life of the process.
std::string resolveFontFamily(const std::string& name);

} // namespace dazed
