#include "common/gml_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kinship::gml {

bool is_writable_real(double value)
{
    return std::abs(value) <= largest_real; // false for nan too
}

void append_integer(std::string& out, long long value)
{
    char digits[24];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, written.ptr);
}

namespace {

// The usual coordinates, sizes and widths (at least 1, below 10^10, with a short binary
// fraction) the quick way: scaled by 10^p to ten digits, such a value is exactly an
// integer plus a fraction, so its digits are those of the integer rounded to nearest,
// ties to even, as printf and to_chars round. Returns false, having written nothing, for
// every other value and when rounding carries into an eleventh digit.
bool append_real_exactly(std::string& out, double value)
{
    constexpr double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    const double magnitude = std::abs(value);
    if (!(magnitude >= 1.0 && magnitude < 1e10)) {
        return false;
    }
    int exponent = 0; // the decimal exponent: 10^exponent <= magnitude < 10^(exponent+1)
    while (magnitude >= powers[exponent + 1]) {
        ++exponent;
    }
    const double scaled = magnitude * powers[9 - exponent]; // below 10^10, so below 2^53
    if (std::fma(magnitude, powers[9 - exponent], -scaled) != 0.0) {
        return false; // the product was rounded
    }
    auto digits = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(digits);
    if (fraction > 0.5 || (fraction == 0.5 && digits % 2 == 1)) {
        ++digits;
    }
    if (digits >= 10'000'000'000u) {
        return false;
    }
    char text[16];
    std::to_chars(text, text + sizeof text, digits); // ten digits
    if (value < 0) {
        out.push_back('-');
    }
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    out.append(text, whole).append(".").append(text + whole, 10 - whole);
    return true;
}

} // namespace

void append_real(std::string& out, double value)
{
    if (append_real_exactly(out, value)) {
        return;
    }
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
