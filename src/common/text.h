#pragma once

// Character classes and the byte-order mark, as every reader of this project sees its
// input: bytes in the C locale, whatever locale the host program has set.

#include <string_view>

namespace kinship::text {

// isspace() in the C locale: blank, tab, line feed, vertical tab, form feed, return.
constexpr bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// An ASCII letter.
constexpr bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The text without a leading UTF-8 byte-order mark, which some editors put at the start
// of a file.
constexpr std::string_view without_byte_order_mark(std::string_view text)
{
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    return text.starts_with(mark) ? text.substr(mark.size()) : text;
}

} // namespace kinship::text
