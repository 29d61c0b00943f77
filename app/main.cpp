#include "app/Cli.h"

#include <iostream>

int main(int argc, char** argv)
{
    return dazed::runCli(std::vector<std::string>(argv, argv + argc), std::cout, std::cerr);
}
