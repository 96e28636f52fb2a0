#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/result.h"

namespace kinship::select {

// One selection of the command line.
struct Selection {
    enum class Kind { ancestors, descendants, lineage, relatives, path, clan, subclan };
    Kind kind = Kind::ancestors;
    std::vector<int> ids; // one id, two for a path, none for a clan
    std::string name;     // the clan or sub-clan, blanks written as underscores
    std::string option;   // as typed ("--ancestors"), for messages
};

// The command line of kinship-select.
struct SelectOptions {
    std::string pedigree_path;
    std::string output_path;
    std::vector<Selection> selections; // at least one; the people chosen are their union
    std::optional<int> generations;    // unset: no limit
    bool with_partners = false;
    std::optional<std::string> names_path;
    std::optional<std::string> marriages_path;
};

// The usage line and what each argument does, as --help prints it.
std::string select_help();


// Reads the arguments after the program's name. A wrong command line (an unknown option,
// an option without its values, an id that is not a whole number, a negative or repeated
// --generations, --generations with no selection it limits, no selection, not exactly two
// files, an output file that is the pedigree file itself) fails with status 2, the usage
// line and what is wrong.
Result<SelectOptions> parse_select_options(std::span<const std::string> args);

} // namespace kinship::select
