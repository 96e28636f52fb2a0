#pragma once

#include <span>
#include <string>

#include "common/result.h"

namespace kinship::family {

// The command line of kinship-layout.
struct LayoutOptions {
    std::string pedigree_path;
    std::string drawing_path;
    std::string marriages_path; // empty when none is given
};

// The usage line and what the command does, as --help prints it.
std::string layout_help();


// Reads the arguments after the program's name. An unknown option, an option without its
// value, not exactly two files, or a drawing file that is the pedigree file itself fail
// with status 2, the usage line and what is wrong.
Result<LayoutOptions> parse_layout_options(std::span<const std::string> args);

} // namespace kinship::family
