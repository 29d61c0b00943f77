#pragma once

// Reading a small file whole, for the files the program is handed (interface descriptions, the
// links of the information page): only a plain file is read, and only up to a size, so that a
// device, a pipe or a huge file given by mistake cannot feed it without end.

#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dazed {

// The whole content of the plain file at `path`, of at most `maxBytes` bytes. The error names
// the file: it is missing or not a plain file, cannot be read, or is too large for `what` (a
// phrase such as "a links file", which the message quotes with the limit).
Result<std::string> readWholeFile(const std::string& path, std::uintmax_t maxBytes, std::string_view what);

} // namespace dazed
