#pragma once

// The entry point every fuzz target defines: libFuzzer calls it with each input it makes, and the
// replay program (FuzzReplay.cpp) with each file of the target's corpus. It returns 0; a crash, a
// sanitizer report or a failed check (std::abort) is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace dazed::fuzz {

inline std::string_view bytes(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A property every input must keep; a broken one ends the run like a crash, so that libFuzzer
// saves the input.
inline void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

} // namespace dazed::fuzz
