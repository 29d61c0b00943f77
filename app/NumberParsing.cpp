#include "app/NumberParsing.h"

#include <charconv>
#include <cmath>

namespace dazed {

std::optional<double> parseFiniteNumber(std::string_view text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace dazed
