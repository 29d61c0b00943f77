#pragma once

// The single-byte encoding the chart's text is written in. Every byte maps to one Unicode
// character, so decoding never fails.

#include <string>
#include <string_view>

namespace dazed {

char32_t macRomanToUnicode(unsigned char byte);

// Decodes bytes to UTF-8, for glyph lookup and for text written to traces. A NUL byte stays a NUL.
std::string macRomanToUtf8(std::string_view bytes);

} // namespace dazed
