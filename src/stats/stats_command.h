#pragma once

#include "common/result.h"
#include "stats/stats_options.h"

#include <ostream>

namespace kinship::stats {

// Reads the pedigree (and names), measures it, writes the tables into the output folder,
// creating it if needed, and prints the summary on `out`. Notes of the pedigree reader go
// to standard error.
Status run_stats(const StatsOptions& options, std::ostream& out);

} // namespace kinship::stats
