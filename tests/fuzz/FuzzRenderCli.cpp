// The command line of `dazed render`, parsed and checked only: the frame is never drawn and the
// file never written.

#include "FuzzCliArgs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dazed::fuzz::parseCommandLine({"dazed", "render"}, dazed::fuzz::bytes(data, size));
    return 0;
}
