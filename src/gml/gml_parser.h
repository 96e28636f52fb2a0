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
//   integer  an optional sign and digits (must fit in 64 bits)
//   real     the same followed by a decimal point and any number of digits, an exponent
//            ("e" or "E", an optional sign, digits) or both: 1.5, -2., 7E3, 1.5e+10;
//            its magnitude must not exceed largest_real, and inf and nan are refused
//   string   in double quotes; \" and \\ stand for " and \, a backslash before a line
//            break joins the lines (the long-string form of the writer), any other
//            backslash is kept as it is
//   list     "[", any number of pairs, "]"
// A line whose first non-blank character is '#' is a comment. A UTF-8 byte-order mark at
// the very start is skipped. A number must be followed by white space, a bracket or the
// end of the text ("12ab" and "1e" are errors).
ParseResult parse_gml(std::string_view text);

} // namespace kinship::gml
