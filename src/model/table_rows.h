#pragma once

// The tab-separated tables beside a pedigree (names, marriages), as the importer writes
// them and a person types them: a header line, then one row per line. Line ends may be LF
// or CRLF; blank lines are skipped.

#include "common/result.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace kinship {

// The fields of one line, split at tabs.
std::vector<std::string_view> tab_fields(std::string_view line);

// `text` without the blanks at either end.
std::string_view trimmed(std::string_view text);

// The first line of `text`, without its line end.
std::string_view table_header(std::string_view text);

// Calls `row` for each line after the header that is not blank, with its line number as an
// editor counts it, the line without its line end, and its fields; stops at the first
// failure and returns it. Returns the header line.
Result<std::string_view> for_each_table_row(
    std::string_view text,
    const std::function<Status(std::size_t number, std::string_view line,
                               const std::vector<std::string_view>& fields)>& row);

} // namespace kinship
