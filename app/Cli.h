#pragma once

// The `dazed` command line: `summary` (the default) and `render`.

#include <iosfwd>
#include <string>
#include <vector>

namespace dazed {

// Runs the command line given as the argument vector (program name first). Returns the exit
// status: 0 on success, 2 for a bad option or argument.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace dazed
