// kinship-stats PEDIGREE_FILE OUTPUT_FOLDER [--names NAMES_FILE] [--degree N]
//
// Measures a clan pedigree: inbreeding, couples' relations, the census of relations and
// the clan tables; see stats_options.h for the command line and stats_tables.h for the
// tables.

#include "common/tool_main.h"
#include "stats/stats_command.h"
#include "stats/stats_options.h"

int main(int argc, char** argv)
{
    namespace tool = kinship::stats;
    return kinship::run_tool<tool::StatsOptions>(
        argc, argv, {"kinship-stats", tool::parse_stats_options, tool::stats_help, tool::run_stats});
}
