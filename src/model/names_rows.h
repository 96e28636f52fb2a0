#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"

namespace kinship {

// One row of a names table: id<TAB>cross-reference<TAB>name.
struct NamesRow {
    std::string id;         // blanks around it removed
    std::string_view name;  // blanks around it removed; bytes as written
    std::string_view line;  // the whole row as written, without its line end
};

// A names table as written: its header line and its rows, views into the text.
struct NamesRows {
    std::string_view header;
    std::vector<NamesRow> rows;
};

// Reads a names table: a header line, then rows id<TAB>cross-reference<TAB>name, as the
// GEDCOM importer writes it or a person types it. Line ends may be LF or CRLF; blank lines
// are skipped. kinship-draw names its shapes from it, kinship-select copies the rows of
// the individuals it chooses.
//
// A row without exactly three fields, with an empty id, or with an id an earlier row has
// already named fails with status 1 and a message starting "PATH: line N: ".
Result<NamesRows> read_names_rows(std::string_view text, const std::string& path);

// The names table in the file at `path`, kept in `text`, which the rows point into. A file
// that cannot be read fails with "PATH: cannot open the names table: reason".
Result<NamesRows> load_names_rows(const std::string& path, std::string& text);

} // namespace kinship
