#include "select/select_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace kinship::select {
namespace {

constexpr const char* usage =
    "usage: kinship-select PEDIGREE_FILE OUTPUT_FILE SELECTION... [--generations N] "
    "[--with-partners] [--names NAMES_FILE] [--marriages MARRIAGES_FILE]";

Failure wrong(const std::string& what)
{
    return Failure{std::string(usage) + "\n" + what, 2};
}

struct SelectionOption {
    const char* option;
    Selection::Kind kind;
    int ids; // how many ids follow; 0: a clan or sub-clan name follows
};

constexpr std::array<SelectionOption, 7> selection_options = {{
    {"--ancestors", Selection::Kind::ancestors, 1},
    {"--descendants", Selection::Kind::descendants, 1},
    {"--lineage", Selection::Kind::lineage, 1},
    {"--relatives", Selection::Kind::relatives, 1},
    {"--path", Selection::Kind::path, 2},
    {"--clan", Selection::Kind::clan, 0},
    {"--subclan", Selection::Kind::subclan, 0},
}};

std::optional<int> whole_number(const std::string& text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty() ? std::optional(value)
                                                                 : std::nullopt;
}

bool limited_by_generations(const Selection& s)
{
    using enum Selection::Kind;
    return s.kind == ancestors || s.kind == descendants || s.kind == lineage ||
           s.kind == relatives;
}

} // namespace

std::string select_help()
{
    return std::string(usage) +
           "\n\n"
           "Writes the part of a clan pedigree file that the selections choose, as a clan\n"
           "pedigree file that hierarchical-layout takes. The selections may be repeated and\n"
           "combined; the people chosen are their union.\n"
           "  --ancestors ID        the person and their ancestors\n"
           "  --descendants ID      the person and their descendants\n"
           "  --lineage ID          the person, their ancestors and their descendants\n"
           "  --relatives ID        blood relatives: the person, their ancestors and every\n"
           "                        descendant of those ancestors\n"
           "  --path ID1 ID2        the lines joining the two through their closest common\n"
           "                        ancestors, or the line of descent from one to the other\n"
           "  --clan NAME           everyone of the clan NAME (blanks written as _)\n"
           "  --subclan NAME        everyone of the sub-clan NAME\n"
           "  --generations N       how far ancestors, descendants, lineage and relatives\n"
           "                        reach (parents are 1); relatives share an ancestor at most\n"
           "                        N generations up and are at most N generations below the\n"
           "                        person\n"
           "  --with-partners       add the other parent of each chosen child of a chosen\n"
           "                        person, and the partners of the marriages table, so\n"
           "                        that couples appear as couples\n"
           "  --names NAMES_FILE    also write the chosen rows of this names table to\n"
           "                        OUTPUT_FILE.names.tsv\n"
           "  --marriages MARRIAGES_FILE  also write the rows of this marriages table whose\n"
           "                        partners were both chosen to OUTPUT_FILE.marriages.tsv";
}

Result<SelectOptions> parse_select_options(std::span<const std::string> args)
{
    SelectOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::size_t k) -> const std::string& { return args[i + k]; };
        const auto* chosen = std::ranges::find_if(
            selection_options, [&](const SelectionOption& o) { return arg == o.option; });
        if (chosen != selection_options.end()) {
            const std::size_t needed = chosen->ids == 0 ? 1 : std::size_t(chosen->ids);
            if (args.size() - i - 1 < needed) {
                return wrong(arg + (chosen->ids == 0   ? " needs a name"
                                    : chosen->ids == 1 ? " needs an individual id"
                                                       : " needs two individual ids"));
            }
            Selection selection{chosen->kind, {}, {}, arg};
            if (chosen->ids == 0) {
                selection.name = value(1);
                std::ranges::replace(selection.name, ' ', '_');
            }
            for (int k = 1; k <= chosen->ids; ++k) {
                const std::optional<int> id = whole_number(value(std::size_t(k)));
                if (!id) {
                    return wrong(arg + " takes individual ids (whole numbers), not " +
                                 value(std::size_t(k)));
                }
                selection.ids.push_back(*id);
            }
            options.selections.push_back(std::move(selection));
            i += needed;
        } else if (arg == "--generations" || arg == "--names" || arg == "--marriages") {
            if (i + 1 == args.size()) {
                return wrong(arg + " needs a value");
            }
            if (arg == "--names" || arg == "--marriages") {
                (arg == "--names" ? options.names_path : options.marriages_path) = value(1);
            } else if (options.generations) {
                return wrong("--generations is given twice");
            } else if (!(options.generations = whole_number(value(1))) ||
                       *options.generations < 0) {
                return wrong("--generations takes a whole number of 0 or more, not " + value(1));
            }
            ++i;
        } else if (arg == "--with-partners") {
            options.with_partners = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        return wrong("give the pedigree file and the output file");
    }
    options.pedigree_path = files[0];
    options.output_path = files[1];
    if (options.selections.empty()) {
        return wrong("give at least one selection: --ancestors, --descendants, --lineage, "
                     "--relatives, --path, --clan or --subclan");
    }
    if (options.generations && std::ranges::none_of(options.selections, limited_by_generations)) {
        return wrong("--generations limits --ancestors, --descendants, --lineage and "
                     "--relatives; none is given");
    }
    std::error_code ignored;
    if (std::filesystem::equivalent(options.pedigree_path, options.output_path, ignored)) {
        return wrong("the output file " + options.output_path +
                     " would replace the pedigree file");
    }
    return options;
}

} // namespace kinship::select
