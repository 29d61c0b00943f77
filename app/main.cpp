#include "app/CatalogSummary.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv)
{
    CLI::App app{"Dazed: a touch star chart"};
    app.require_subcommand(0, 1);
    auto* summary = app.add_subcommand("summary", "Print what the compiled-in catalogue holds");
    CLI11_PARSE(app, argc, argv);

    if (summary->parsed() || app.get_subcommands().empty())
        dazed::printCatalogSummary(std::cout);
    return 0;
}
