#pragma once

// The GML forms of an integer, a real number and a string, as every GML file of this
// project writes them, and the bound that keeps every written real readable again.

#include <string>
#include <string_view>

namespace kinship::gml {

// The largest magnitude a real may have to be written and read back: ten significant
// digits of anything larger round to 1.797693135e+308, which exceeds every double.
// Readers refuse larger reals; writers refuse to write them (and inf and nan).
inline constexpr double largest_real = 1.797693134e308;

// Whether `value` is a real that append_real writes in a form the parser reads back.
bool is_writable_real(double value);

// Appends `value` in decimal digits, with a minus sign when negative.
void append_integer(std::string& out, long long value);

// Appends `value` with ten significant digits, always with a decimal point and with
// trailing zeros kept, in exponent form (e+NN, e-NN) only when the decimal exponent is
// below -4 or at least 10: printf's "%#.10g" in the C locale, whatever the locale of the
// process. 30 gives 30.00000000, 0.5 gives 0.5000000000, 1e10 gives 1.000000000e+10.
void append_real(std::string& out, double value);

// `value` as append_real writes it.
inline std::string real_text(double value)
{
    std::string out;
    append_real(out, value);
    return out;
}

// Appends `text` as a quoted GML string: \ and " are escaped, carriage returns, line
// feeds and tabs are dropped, and a backslash + line feed is inserted whenever 200
// characters (counting the opening quote, escapes as two) have gone out since the last
// break, so that no line of the file grows without bound. The parser reads the string
// back as `text` without the dropped characters.
void append_string(std::string& out, std::string_view text);

} // namespace kinship::gml
