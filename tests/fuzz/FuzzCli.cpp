// The command line of `dazed` (the chart window, its options and subcommands), parsed only.

#include "FuzzCliArgs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dazed::fuzz::parseCommandLine({"dazed"}, dazed::fuzz::bytes(data, size));
    return 0;
}
