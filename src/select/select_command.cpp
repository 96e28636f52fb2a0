#include "select/select_command.h"

#include <algorithm>
#include <filesystem>

#include "common/atomic_file.h"
#include "common/shell_word.h"
#include "model/marriages.h"
#include "model/names_rows.h"
#include "model/pedigree_reader.h"
#include "select/selection_files.h"
#include "select/selections.h"

namespace kinship::select {
namespace {

// "PATH: what was wrong".
Failure about(const std::string& path, const std::string& what)
{
    return failure_of({path, 0, what});
}

// hierarchical-layout names its files after its argument, so it runs in the output's
// folder. With a marriages table the chosen part goes on to kinship-layout, which takes it
// (and the names table, when there is one).
std::string next_command(const std::string& output_path, const std::string* marriages_path,
                         const std::string* names_path)
{
    const std::filesystem::path output(output_path);
    const std::string folder = output.parent_path().string();
    if (marriages_path != nullptr) {
        const std::filesystem::path drawing = std::filesystem::path(output).replace_extension(
            output.extension() == ".gml" ? ".gml.gml" : ".gml");
        return "kinship-layout " + shell_word(output_path) + " " + shell_word(drawing.string()) +
               " --marriages " + shell_word(*marriages_path) +
               (names_path != nullptr ? " --names " + shell_word(*names_path) : "");
    }
    return (folder.empty() ? "" : "cd " + shell_word(folder) + " && ") +
           "hierarchical-layout " + shell_word(output.filename().string());
}

// The index of each id the selection names, or the failure naming the one missing.
Result<std::vector<int>> people_named(const Pedigree& pedigree, const Selection& selection,
                                      const std::string& path)
{
    std::vector<int> people;
    for (const int id : selection.ids) {
        const int person = pedigree.find(id);
        if (person == Pedigree::none) {
            return about(path, "no individual has the id " + std::to_string(id) + " (given to " +
                                   selection.option + ")");
        }
        people.push_back(person);
    }
    return people;
}

Status choose(const Pedigree& pedigree, const SelectOptions& options,
              std::span<const Couple> marriages, Chosen& chosen)
{
    const int limit = options.generations.value_or(unlimited);
    for (const Selection& selection : options.selections) {
        const Result<std::vector<int>> named =
            people_named(pedigree, selection, options.pedigree_path);
        if (!named) {
            return named.failure();
        }
        const std::vector<int>& people = named.value();
        using enum Selection::Kind;
        switch (selection.kind) {
        case ancestors:
            choose_ancestors(pedigree, people[0], limit, chosen);
            break;
        case descendants:
            choose_descendants(pedigree, people[0], limit, chosen);
            break;
        case lineage:
            choose_ancestors(pedigree, people[0], limit, chosen);
            choose_descendants(pedigree, people[0], limit, chosen);
            break;
        case relatives:
            choose_relatives(pedigree, people[0], limit, chosen);
            break;
        case path:
            if (!choose_path(pedigree, people[0], people[1], chosen)) {
                return about(options.pedigree_path,
                             "individuals " + std::to_string(selection.ids[0]) + " and " +
                                 std::to_string(selection.ids[1]) +
                                 " have no common ancestor in the file, so no line joins them");
            }
            break;
        case clan:
        case subclan:
            if ((selection.kind == clan ? choose_clan : choose_subclan)(pedigree, selection.name,
                                                                        chosen) == 0) {
                return about(options.pedigree_path,
                             "no individual has the " +
                                 std::string(selection.kind == clan ? "clan " : "sub-clan ") +
                                 selection.name + " (given to " + selection.option + ")");
            }
            break;
        }
    }
    if (options.with_partners) {
        choose_partners(pedigree, marriages, chosen);
    }
    return done;
}

// "3 rows of the names table into OUT.names.tsv".
std::string rows_into(int rows, const char* table, const std::string& path)
{
    return std::to_string(rows) + (rows == 1 ? " row" : " rows") + " of the " + table +
           " into " + path;
}

} // namespace

Status run_select(const SelectOptions& options, std::ostream& out)
{
    const Result<Pedigree> read = load_pedigree_model(options.pedigree_path);
    if (!read) {
        return read.failure();
    }
    const Pedigree& pedigree = read.value();
    std::string names_text;
    std::optional<Result<NamesRows>> names;
    if (options.names_path) {
        names = load_names_rows(*options.names_path, names_text);
        if (!*names) {
            return names->failure();
        }
    }
    std::optional<Result<MarriagesTable>> marriages;
    std::vector<Couple> married;
    if (options.marriages_path) {
        marriages = load_marriages(*options.marriages_path, pedigree);
        if (!*marriages) {
            return marriages->failure();
        }
        for (const Marriage& row : marriages->value().rows) {
            married.push_back(row.couple);
        }
    }
    Chosen chosen(static_cast<std::size_t>(pedigree.size()), 0);
    if (const Status chose = choose(pedigree, options, married, chosen); !chose) {
        return chose;
    }

    // Every file is written in full before any replaces what was there.
    const std::string names_path = options.output_path + ".names.tsv";
    const std::string marriages_path = options.output_path + ".marriages.tsv";
    std::vector<AtomicFile> files;
    for (const std::string* path : {&options.output_path, names ? &names_path : nullptr,
                                    marriages ? &marriages_path : nullptr}) {
        if (path != nullptr) {
            Result<AtomicFile> file = AtomicFile::create(*path);
            if (!file) {
                return file.failure();
            }
            files.push_back(std::move(file).value());
        }
    }
    write_pedigree(pedigree, chosen, files[0]);
    std::vector<std::string> written{std::to_string(std::ranges::count(chosen, 1)) + " of " +
                                     std::to_string(pedigree.size()) + " individuals into " +
                                     options.output_path};
    if (names) {
        written.push_back(rows_into(write_names(names->value(), pedigree, chosen, files[1]),
                                    "names table", names_path));
    }
    if (marriages) {
        written.push_back(rows_into(write_marriages(marriages->value(), chosen, files.back()),
                                    "marriages table", marriages_path));
    }
    std::string summary = "Chose " + written[0];
    for (std::size_t k = 1; k < written.size(); ++k) {
        summary += (k + 1 == written.size() ? " and " : ", ") + written[k];
    }
    for (AtomicFile& file : files) {
        if (const Status committed = file.commit(); !committed) {
            return committed;
        }
    }
    out << summary << ".\nNext: "
        << next_command(options.output_path, marriages ? &marriages_path : nullptr,
                        names ? &names_path : nullptr)
        << '\n';
    return done;
}

} // namespace kinship::select
