#pragma once

// Numbers typed on the command line.

#include <optional>
#include <string_view>

namespace dazed {

// The whole of `text` as a finite number, or nothing: in the C locale's form whatever the
// process's locale ("1.5", "-2", "3e2"), with no spaces around it and no leading '+'. "nan",
// "inf" and numbers beyond the range of a double are not numbers here.
std::optional<double> parseFiniteNumber(std::string_view text);

} // namespace dazed
