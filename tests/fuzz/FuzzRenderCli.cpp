// The command lines of `dazed render` and `dazed atlas`, the same bytes as the options of each,
// parsed and checked only: nothing is ever drawn and no file written.

#include "FuzzCliArgs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dazed::fuzz::parseCommandLine({"dazed", "render"}, dazed::fuzz::bytes(data, size));
    dazed::fuzz::parseCommandLine({"dazed", "atlas"}, dazed::fuzz::bytes(data, size));
    return 0;
}
