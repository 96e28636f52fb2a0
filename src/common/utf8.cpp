#include "common/utf8.h"

namespace kinship::text {

Utf8Character decode_utf8(std::string_view text)
{
    if (text.empty()) {
        return {};
    }
    const auto byte = [text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {1, lead};
    }
    std::size_t length = 0;
    // The range of the second byte; the later ones are always 0x80..0xBF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return {};
    }
    if (text.size() < length) {
        return {};
    }
    char32_t code_point = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char c = byte(k);
        if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) {
            return {};
        }
        code_point = (code_point << 6) | (c & 0x3F);
    }
    return {length, code_point};
}

} // namespace kinship::text
