#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "gml/gml_tree.h"
#include "gml/read_error.h"

namespace kinship::gml {

// Lists may nest this deep at most. Kinship files nest five levels (graph, edge,
// graphics, Line, point); the bound keeps the tree, whose destruction recurses per
// level, from exhausting the stack on hostile input.
inline constexpr std::size_t max_list_depth = 256;

struct ParseResult {
    GmlList pairs;                  // the top-level pairs, when there is no error
    std::optional<ReadError> error; // set when the text is not well-formed GML
};

// Parses a whole GML text into a tree.
//
// Lexical rules: items are separated by white space; a key starts with an ASCII letter
// and goes on with letters, digits and underscores; every key has exactly one value:
//   integer  an optional minus sign and digits (must fit in 64 bits)
//   real     the same with a decimal point and at least one digit after it; no exponent
//   string   in double quotes; \" and \\ stand for " and \, a backslash before a line
//            break joins the lines (the long-string form of the writer), any other
//            backslash is kept as it is
//   list     "[", any number of pairs, "]"
// A line whose first non-blank character is '#' is a comment. A UTF-8 byte-order mark at
// the very start is skipped. A number must be followed
// by white space, a bracket or the end of the text ("1e5" and "12ab" are errors).
ParseResult parse_gml(std::string_view text);

} // namespace kinship::gml
