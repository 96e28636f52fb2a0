#pragma once

#include <optional>
#include <span>
#include <string>

#include "common/result.h"

namespace kinship::family {

// The command line of kinship-layout.
struct LayoutOptions {
    std::string pedigree_path;
    std::string drawing_path;
    std::optional<std::string> names_path;     // --names: each person as wide as their name
    std::optional<std::string> marriages_path; // --marriages: the marriages table
};

// The usage line and what the command does, as --help prints it.
std::string layout_help();


// Reads the arguments after the program's name. An unknown option, an option without its
// value, not exactly two files, or a drawing file that is the pedigree file or the names
// table itself fail with status 2, the usage line and what is wrong.
Result<LayoutOptions> parse_layout_options(std::span<const std::string> args);

} // namespace kinship::family
