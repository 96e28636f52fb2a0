#pragma once

#include <string>
#include <string_view>

namespace kinship::gml {

// Appends `value` with ten significant digits, a decimal point and trailing zeros
// (printf's "%#.10g"): 30 gives 30.00000000, 0.5 gives 0.5000000000.
void append_real(std::string& out, double value);

// Appends `text` as a quoted long string: \ and " are escaped, carriage returns, line
// feeds and tabs are dropped, and a backslash + line feed is inserted whenever 200
// characters (counting the opening quote, escapes as two) have gone out since the last
// break, so that no line of the file grows without bound.
void append_long_string(std::string& out, std::string_view text);

} // namespace kinship::gml
