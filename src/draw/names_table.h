#pragma once

#include <string>
#include <unordered_map>

#include "common/result.h"

namespace kinship::draw {

// Each individual's name by id, as text an XML document takes (see xml_text).
using NamesTable = std::unordered_map<std::string, std::string>;

// Reads the names table in the file at `path` (see load_names_rows for its form and its
// failures); a row with an empty name leaves its individual unnamed.
Result<NamesTable> load_names_table(const std::string& path);

} // namespace kinship::draw
