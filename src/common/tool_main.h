#pragma once

// The main function of the newer tools (kinship-draw, kinship-select, kinship-stats,
// kinship-layout): read the command line, print the help or the version when asked for,
// otherwise run, and end with the status of the failure that stopped the run, if any.

#include <algorithm>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"
#include "common/version.h"

namespace kinship {

// What a tool is made of: its name (--version prints it with the project's version), its
// options' parser, its help text (the usage line and its own options; run_tool adds
// --help and --version) and its work.
template <typename Options>
struct Tool {
    const char* name;
    Result<Options> (*parse)(std::span<const std::string> args);
    std::string (*help)();
    Status (*run)(const Options& options, std::ostream& out);
};

template <typename Options>
int run_tool(int argc, char** argv, const Tool<Options>& tool)
{
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    // --help or --version anywhere asks for that alone, whatever else is given.
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            if (arg == "--version") {
                std::cout << tool.name << ' ' << project_version() << '\n';
            } else {
                std::cout << tool.help() << "\n"
                          << "  --help                print this help\n"
                          << "  --version             print the version\n";
            }
            return 0;
        }
    }
    const Result<Options> options = tool.parse(args);
    if (!options) {
        print_failure(options.failure());
        return options.failure().status;
    }
    const Status ran = tool.run(options.value(), std::cout);
    if (!ran) {
        print_failure(ran.failure());
        return ran.failure().status;
    }
    return 0;
}

} // namespace kinship
