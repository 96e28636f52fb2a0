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

namespace kinship {

// What a tool is made of. `Options::action` is `Options::Action::help`,
// `Options::Action::version` or the tool's own work.
template <typename Options>
struct Tool {
    Result<Options> (*parse)(std::span<const std::string> args);
    std::string (*help)();
    std::string (*version)();
    Status (*run)(const Options& options, std::ostream& out);
};

template <typename Options>
int run_tool(int argc, char** argv, const Tool<Options>& tool)
{
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    const Result<Options> options = tool.parse(args);
    if (!options) {
        print_failure(options.failure());
        return options.failure().status;
    }
    using Action = typename Options::Action;
    if (options.value().action == Action::help || options.value().action == Action::version) {
        std::cout << (options.value().action == Action::help ? tool.help() : tool.version())
                  << '\n';
        return 0;
    }
    const Status ran = tool.run(options.value(), std::cout);
    if (!ran) {
        print_failure(ran.failure());
        return ran.failure().status;
    }
    return 0;
}

} // namespace kinship
