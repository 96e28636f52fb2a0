#pragma once

#include <string>
#include <unordered_map>

#include "common/result.h"

namespace kinship {

// Each individual's name by id, as the pictures show it and the layout measures it: as
// text an XML document takes (see text::xml_text).
using NamesTable = std::unordered_map<std::string, std::string>;

// Reads the names table in the file at `path` (see load_names_rows for its form and its
// failures); a row with an empty name leaves its individual unnamed.
Result<NamesTable> load_names_table(const std::string& path);

} // namespace kinship
