#pragma once

// The names table the GEDCOM importer writes: a header line, then rows
// id<TAB>cross-reference<TAB>name.

#include "common/result.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace kinship::stats {

// Each name by id, as written. A row without three fields, with an empty id, or with an
// id already named fails: "PATH:LINE: what was wrong". Blank lines are skipped; line ends
// may be CRLF.
Result<std::unordered_map<std::string, std::string>> read_names(std::string_view text,
                                                                const std::string& path);

} // namespace kinship::stats
