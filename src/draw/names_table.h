#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "common/result.h"

namespace kinship::draw {

// Each individual's name by id, as text an XML document takes (see xml_text).
using NamesTable = std::unordered_map<std::string, std::string>;

// Reads a names table: a header line, then rows id<TAB>cross-reference<TAB>name, as the
// GEDCOM importer writes it or a person types it. Line ends may be LF or CRLF; blank lines
// are skipped; a row with an empty name leaves its individual unnamed.
//
// A row without exactly three fields, with an empty id, or with an id an earlier row has
// already named fails with status 1 and a message starting "PATH: line N: ".
Result<NamesTable> parse_names_table(std::string_view text, const std::string& path);

} // namespace kinship::draw
