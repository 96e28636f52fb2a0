#include "draw/draw_options.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace kinship::draw {
namespace {

constexpr const char* usage =
    "usage: kinship-draw DRAWING_FILE [SVG_FILE|PAGE.html] [--names NAMES_FILE] "
    "[--colour-by sex|clan|subclan|inbreeding] [--stats OUTPUT_FOLDER]";

Failure wrong(const std::string& what)
{
    return Failure{std::string(usage) + "\n" + what, 2};
}

// The output named by `path`'s extension, in any case; none for another extension.
std::optional<DrawOptions::Output> output_named(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (extension == ".svg") {
        return DrawOptions::Output::picture;
    }
    if (extension == ".html") {
        return DrawOptions::Output::page;
    }
    return std::nullopt;
}

std::optional<ColourBy> colour_by_named(const std::string& name)
{
    if (name == "sex") {
        return ColourBy::sex;
    }
    if (name == "clan") {
        return ColourBy::clan;
    }
    if (name == "subclan") {
        return ColourBy::subclan;
    }
    if (name == "inbreeding") {
        return ColourBy::inbreeding;
    }
    return std::nullopt;
}

} // namespace

std::string draw_help()
{
    return std::string(usage) +
           "\n\n"
           "Draws a drawing file of hierarchical-layout (whl-gml-...) as an SVG picture or\n"
           "as an interactive web page.\n"
           "  SVG_FILE              the picture, ending in .svg (default: DRAWING_FILE.svg)\n"
           "  PAGE.html             instead, a web page that works offline and holds the\n"
           "                        picture: pan, zoom, search, select a person to see\n"
           "                        their parents, children and lineage\n"
           "  --names NAMES_FILE    write each person's name under their shape; the table is\n"
           "                        UTF-8, tab-separated, a header line, then rows\n"
           "                        id<TAB>cross-reference<TAB>name\n"
           "  --colour-by WHAT      fill the shapes by sex (the drawing file's colours), clan\n"
           "                        or subclan (clan and sub-clan), or inbreeding (F, needs\n"
           "                        --stats), and add a legend\n"
           "  --stats OUTPUT_FOLDER the tables of kinship-stats: each person's generation\n"
           "                        and F in their tooltip";
}

Result<DrawOptions> parse_draw_options(std::span<const std::string> args)
{
    DrawOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--names" || arg == "--colour-by" || arg == "--stats") {
            if (i + 1 == args.size()) {
                return wrong(arg + " needs a value");
            }
            const std::string& value = args[++i];
            if (arg == "--names") {
                options.names_path = value;
            } else if (arg == "--stats") {
                options.stats_folder = value;
            } else if (!(options.colour_by = colour_by_named(value))) {
                return wrong("--colour-by takes sex, clan, subclan or inbreeding, not " + value);
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (options.colour_by == ColourBy::inbreeding && !options.stats_folder) {
        return wrong("--colour-by inbreeding needs --stats OUTPUT_FOLDER");
    }
    if (files.empty() || files.size() > 2) {
        return wrong("give one drawing file and at most one SVG file");
    }
    options.drawing_path = files[0];
    options.output_path = files.size() == 2 ? files[1] : options.drawing_path + ".svg";
    const std::optional<DrawOptions::Output> output = output_named(options.output_path);
    if (!output) {
        return wrong("the output file " + options.output_path + " must end in .svg or .html");
    }
    options.output = *output;
    std::error_code ignored;
    if (std::filesystem::equivalent(options.drawing_path, options.output_path, ignored)) {
        return wrong("the output file " + options.output_path + " would replace the drawing file");
    }
    return options;
}

} // namespace kinship::draw
