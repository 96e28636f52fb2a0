#include "common/gml_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kinship::gml {

bool is_writable_real(double value)
{
    return std::abs(value) <= largest_real; // false for nan too
}

void append_real(std::string& out, double value)
{
    constexpr int significant = 10;
    // Enough for "-1.797693134e+308" and for any fixed form this chooses.
    char buffer[48];
    char* const last = buffer + sizeof buffer;
    const auto emit = [&](const std::to_chars_result& written) {
        out.append(buffer, static_cast<std::size_t>(written.ptr - buffer));
    };
    const std::to_chars_result scientific =
        std::to_chars(buffer, last, value, std::chars_format::scientific, significant - 1);
    const char* const mark = std::find(buffer, scientific.ptr, 'e');
    if (mark == scientific.ptr) { // inf or nan: no exponent to look at
        emit(scientific);
        return;
    }
    // "%g" picks the form by the exponent of the value once rounded to ten digits.
    int exponent = 0;
    std::from_chars(mark + (mark[1] == '+' ? 2 : 1), scientific.ptr, exponent);
    if (exponent < -4 || exponent >= significant) {
        emit(scientific);
        return;
    }
    emit(std::to_chars(buffer, last, value, std::chars_format::fixed, significant - 1 - exponent));
    if (exponent == significant - 1) { // no fraction digits: "%#g" keeps the point
        out.push_back('.');
    }
}

void append_string(std::string& out, std::string_view text)
{
    constexpr int line_limit = 200;
    out.push_back('"');
    // The usual text, short and with nothing to escape or drop, goes out as it is.
    const auto plain = [](char c) {
        return c != '\r' && c != '\n' && c != '\t' && c != '\\' && c != '"';
    };
    if (text.size() + 1 < line_limit && std::ranges::all_of(text, plain)) {
        out.append(text).push_back('"');
        return;
    }
    int count = 1;
    for (const char c : text) {
        switch (c) {
        case '\r':
        case '\n':
        case '\t':
            continue;
        case '\\':
        case '"':
            out.push_back('\\');
            out.push_back(c);
            count += 2;
            break;
        default:
            out.push_back(c);
            ++count;
        }
        if (count >= line_limit) {
            out.append("\\\n");
            count = 0;
        }
    }
    out.push_back('"');
}

} // namespace kinship::gml
