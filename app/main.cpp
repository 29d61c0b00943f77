#include "app/ChartWindow.h"
#include "app/Cli.h"
#include "platform/ProcessStats.h"

#include <iostream>
#include <variant>

int main(int argc, char** argv)
{
    using namespace dazed;
    noteMainEntered();
    const std::vector<std::string> args(argv, argv + argc);
    const CliOutcome outcome = runCli(args, std::cout, std::cerr);
    if (const auto* status = std::get_if<int>(&outcome))
        return *status;
    return runChartWindow(std::get<ChartOptions>(outcome), args.empty() ? "dazed" : args.front(), std::cerr);
}
