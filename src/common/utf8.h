#pragma once

// Decoding UTF-8 one character at a time, for the places that show or measure text.

#include <cstddef>
#include <string_view>

namespace kinship::text {

struct Utf8Character {
    std::size_t length = 0; // bytes; 0 when `text` does not start with a well-formed one
    char32_t code_point = 0;
};

// The well-formed UTF-8 character at the start of `text`. A stray continuation byte, an
// overlong form, a surrogate, a code point above U+10FFFF or a sequence cut short gives
// length 0.
Utf8Character decode_utf8(std::string_view text);

} // namespace kinship::text
