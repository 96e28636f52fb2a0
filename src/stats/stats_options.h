#pragma once

#include "common/result.h"

#include <optional>
#include <span>
#include <string>

namespace kinship::stats {

// The command line of kinship-stats.
struct StatsOptions {
    std::string pedigree_path;
    std::string output_folder;
    std::optional<std::string> names_path;
    std::optional<std::string> marriages_path;
    int degree = 3; // generations searched above each spouse for a common ancestor
};

std::string stats_help();

// A wrong command line (an unknown option, an option without its value, a degree that is
// not a whole number from 1 to 10, not exactly two paths) fails with status 2, the usage
// line and what is wrong.
Result<StatsOptions> parse_stats_options(std::span<const std::string> args);

} // namespace kinship::stats
