#include "family_layout/layout_options.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace kinship::family {
namespace {

constexpr const char* usage =
    "usage: kinship-layout PEDIGREE_FILE DRAWING_FILE [--names NAMES_FILE] "
    "[--marriages MARRIAGES_FILE]";

Failure wrong(const std::string& what)
{
    return Failure{std::string(usage) + "\n" + what, 2};
}

} // namespace

std::string layout_help()
{
    return std::string(usage) +
           "\n\n"
           "Lays a clan pedigree out as families and writes the drawing file that\n"
           "kinship-draw draws: partners side by side in one layer, joined at a small family\n"
           "node, and their children in a row under it.\n"
           "  --names NAMES_FILE    give each person the width their name needs (on at most\n"
           "                        two lines), so that kinship-draw --names NAMES_FILE\n"
           "                        shows it whole; the table kinship-draw reads\n"
           "  --marriages MARRIAGES_FILE  the couples of this marriages table too, with or\n"
           "                        without children, each person's marriages in the\n"
           "                        order of their years";
}

Result<LayoutOptions> parse_layout_options(std::span<const std::string> args)
{
    LayoutOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--names" || arg == "--marriages") {
            if (i + 1 == args.size()) {
                return wrong(arg + " needs a value");
            }
            (arg == "--names" ? options.names_path : options.marriages_path) = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        return wrong("give the pedigree file and the drawing file");
    }
    options.pedigree_path = files[0];
    options.drawing_path = files[1];
    std::error_code ignored;
    if (std::filesystem::equivalent(options.pedigree_path, options.drawing_path, ignored)) {
        return wrong("the drawing file " + options.drawing_path +
                     " would replace the pedigree file");
    }
    if (options.names_path &&
        std::filesystem::equivalent(*options.names_path, options.drawing_path, ignored)) {
        return wrong("the drawing file " + options.drawing_path +
                     " would replace the names table");
    }
    return options;
}

} // namespace kinship::family
