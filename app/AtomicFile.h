#pragma once

// Writes a whole file or nothing: the bytes go to a temporary file in the same folder, which is
// renamed over the target only once everything is written. A reader never sees half a file and
// a failure leaves no file behind.

#include "platform/Result.h"

#include <string>
#include <string_view>

namespace dazed {

// On failure says why (without the path).
Result<void> writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace dazed
