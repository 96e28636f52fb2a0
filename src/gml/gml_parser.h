#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/result.h"
#include "gml/gml_document.h"

namespace kinship::gml {

// Lists may nest this deep at most. Kinship files nest five levels (graph, edge,
// graphics, Line, point); the bound keeps code that walks the tree level by level, by
// recursion, from exhausting the stack on hostile input.
inline constexpr std::size_t max_list_depth = 256;

// Parses a whole GML text into a tree of pairs, or fails when it is not well-formed,
// saying where and what was found: `file`:12: key "w" has no value, found "]". The keys
// and most strings of the tree are views of `text`, which must outlive it.
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
Result<GmlDocument> parse_gml(std::string_view text, std::string_view file);

} // namespace kinship::gml
