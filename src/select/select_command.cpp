#include "select/select_command.h"

#include <algorithm>
#include <filesystem>

#include "common/atomic_file.h"
#include "common/shell_word.h"
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
// folder.
std::string next_command(const std::string& output_path)
{
    const std::filesystem::path output(output_path);
    const std::string folder = output.parent_path().string();
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

Status choose(const Pedigree& pedigree, const SelectOptions& options, Chosen& chosen)
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
        choose_partners(pedigree, chosen);
    }
    return done;
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
    Chosen chosen(static_cast<std::size_t>(pedigree.size()), 0);
    if (const Status chose = choose(pedigree, options, chosen); !chose) {
        return chose;
    }

    const std::string names_path = options.output_path + ".names.tsv";
    Result<AtomicFile> pedigree_file = AtomicFile::create(options.output_path);
    if (!pedigree_file) {
        return pedigree_file.failure();
    }
    std::optional<Result<AtomicFile>> names_file;
    if (names) {
        names_file.emplace(AtomicFile::create(names_path));
        if (!*names_file) {
            return names_file->failure();
        }
    }
    write_pedigree(pedigree, chosen, pedigree_file.value());
    const int named = names ? write_names(names->value(), pedigree, chosen, names_file->value())
                            : 0;
    if (const Status committed = pedigree_file.value().commit(); !committed) {
        return committed;
    }
    if (names_file) {
        if (const Status committed = names_file->value().commit(); !committed) {
            return committed;
        }
    }
    out << "Chose " << std::ranges::count(chosen, 1) << " of " << pedigree.size()
        << " individuals into " << options.output_path;
    if (names) {
        out << " and " << named << (named == 1 ? " row" : " rows") << " of the names table into "
            << names_path;
    }
    out << ".\nNext: " << next_command(options.output_path) << '\n';
    return done;
}

} // namespace kinship::select
