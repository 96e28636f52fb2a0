// kinship-stats PEDIGREE_FILE OUTPUT_FOLDER [--names NAMES_FILE] [--degree N]
//
// Measures a clan pedigree: inbreeding, couples' relations, the census of relations and
// the clan tables; see stats_options.h for the command line and stats_tables.h for the
// tables.

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "stats/stats_command.h"
#include "stats/stats_options.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    const auto options = kinship::stats::parse_stats_options(args);
    if (!options) {
        kinship::print_failure(options.failure());
        return options.failure().status;
    }
    using Action = kinship::stats::StatsOptions::Action;
    if (options.value().action != Action::measure) {
        std::cout << (options.value().action == Action::help ? kinship::stats::stats_help()
                                                              : kinship::stats::stats_version())
                  << '\n';
        return 0;
    }
    const kinship::Status measured = kinship::stats::run_stats(options.value(), std::cout);
    if (!measured) {
        kinship::print_failure(measured.failure());
        return measured.failure().status;
    }
    return 0;
}
