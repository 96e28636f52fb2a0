#include "stats/stats_options.h"

#include <charconv>
#include <vector>

namespace kinship::stats {
namespace {

constexpr const char* usage =
    "usage: kinship-stats PEDIGREE_FILE OUTPUT_FOLDER [--names NAMES_FILE] "
    "[--marriages MARRIAGES_FILE] [--degree N]";

// The search for a couple's relation follows up to 2^N ways up from each spouse.
constexpr int largest_degree = 10;

Failure wrong(const std::string& what)
{
    return Failure{std::string(usage) + "\n" + what, 2};
}

} // namespace

std::string stats_help()
{
    return std::string(usage) +
           "\n\n"
           "Measures a clan pedigree: each person's generation, ancestors and inbreeding F,\n"
           "each couple's kinship and relation, the census of relations and the clan tables.\n"
           "Writes people.tsv, couples.tsv, circuits.tsv, clans.tsv and endogamy.tsv into\n"
           "OUTPUT_FOLDER (created if needed) and prints a summary.\n"
           "  --names NAMES_FILE    the names table of kinship-from-gedcom (id<TAB>\n"
           "                        cross-reference<TAB>name) for people.tsv's name column\n"
           "  --marriages MARRIAGES_FILE  the couples of this marriages table too, with or\n"
           "                        without children; couples.tsv gains the marriage year\n"
           "  --degree N            generations searched above each spouse for a common\n"
           "                        ancestor, 1 to 10 (default 3: second cousins)";
}

Result<StatsOptions> parse_stats_options(std::span<const std::string> args)
{
    StatsOptions options;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--names" || arg == "--marriages" || arg == "--degree") {
            if (i + 1 == args.size()) {
                return wrong(arg + " needs a value");
            }
            const std::string& value = args[++i];
            if (arg == "--names" || arg == "--marriages") {
                (arg == "--names" ? options.names_path : options.marriages_path) = value;
                continue;
            }
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), options.degree);
            if (error != std::errc() || end != value.data() + value.size() || options.degree < 1 ||
                options.degree > largest_degree) {
                return wrong("--degree takes a whole number from 1 to " +
                             std::to_string(largest_degree) + ", not " + value);
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong("unknown option " + arg);
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2) {
        return wrong("give a pedigree file and an output folder");
    }
    options.pedigree_path = paths[0];
    options.output_folder = paths[1];
    return options;
}

} // namespace kinship::stats
