#pragma once

#include <optional>
#include <span>
#include <string>

#include "common/result.h"

namespace kinship::draw {

// What fills the individuals' shapes: the drawing file's colours by sex, a colour per
// clan or per clan and sub-clan, or F from the tables of kinship-stats.
enum class ColourBy { sex, clan, subclan, inbreeding };

// The command line of kinship-draw.
struct DrawOptions {
    // What the output file's extension asks for: the SVG picture (.svg) or the interactive
    // page that holds it (.html).
    enum class Output { picture, page };
    std::string drawing_path;
    std::string output_path;
    Output output = Output::picture;
    std::optional<std::string> names_path;
    // Unset: the drawing file's colours and no legend, the picture of earlier versions.
    std::optional<ColourBy> colour_by;
    // The OUTPUT_FOLDER of kinship-stats: generation and F in the tooltips.
    std::optional<std::string> stats_folder;
};

// The usage line and what each argument does, as --help prints it.
std::string draw_help();


// Reads the arguments after the program's name. A wrong command line (an unknown option,
// an option without its value, no drawing file or more than two files, an output file that
// ends in neither ".svg" nor ".html" or is the drawing file itself) fails with status 2,
// the usage line and what is wrong.
Result<DrawOptions> parse_draw_options(std::span<const std::string> args);

} // namespace kinship::draw
