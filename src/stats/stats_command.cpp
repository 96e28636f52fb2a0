#include "stats/stats_command.h"

#include "model/marriages.h"
#include "model/parents_first.h"
#include "model/names_rows.h"
#include "stats/stats_tables.h"

#include <filesystem>
#include <thread>

namespace kinship::stats {
namespace {

using Names = std::unordered_map<std::string, std::string>;

Result<Names> load_names(const std::optional<std::string>& path)
{
    if (!path) {
        return Names{};
    }
    std::string text;
    const Result<NamesRows> table = load_names_rows(*path, text);
    if (!table) {
        return table.failure();
    }
    Names names;
    for (const NamesRow& row : table.value().rows) {
        names.emplace(row.id, std::string(row.name));
    }
    return names;
}

Status make_folder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        return failure_of({folder, 0, "cannot create the output folder",
                           error ? error.message() : std::string("a file of that name exists")});
    }
    return done;
}

} // namespace

Status run_stats(const StatsOptions& options, std::ostream& out)
{
    Result<Pedigree> read = load_pedigree_with_marriages(options.pedigree_path, options.marriages_path);
    if (!read) {
        return read.failure();
    }
    Pedigree& pedigree = read.value();
    const auto names = load_names(options.names_path);
    if (!names) {
        return names.failure();
    }
    const auto order = parents_first(pedigree, options.pedigree_path);
    if (!order) {
        return order.failure();
    }
    // Two workers at most: the second gains most of what more would.
    const int workers = std::thread::hardware_concurrency() > 1 ? 2 : 1;
    const Ancestry ancestry = measure_ancestry(pedigree, order.value(), workers);
    const std::vector<MeasuredCouple> couples = find_couples(pedigree, ancestry.couple_kinship, options.degree);
    const ClanTables clans = clan_tables(pedigree, couples);
    const Measures measures{pedigree,         names.value(), ancestry,
                            couples,          clans,         options.degree,
                            options.marriages_path.has_value()};
    if (Status made = make_folder(options.output_folder); !made) {
        return made;
    }
    if (Status written = write_tables(measures, options.output_folder); !written) {
        return written;
    }
    out << summary(measures) << "\nwrote people.tsv, couples.tsv, circuits.tsv, clans.tsv and "
        << "endogamy.tsv into " << options.output_folder
        << "\nNext: open the tables in a spreadsheet, or kinship-draw DRAWING_FILE --stats "
        << options.output_folder << " --colour-by inbreeding\n";
    return done;
}

} // namespace kinship::stats
