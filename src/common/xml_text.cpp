#include "common/xml_text.h"

#include "common/utf8.h"

#include <cstddef>

namespace kinship::text {
namespace {

// Length of the well-formed UTF-8 character that starts at bytes[i], or 0 when none does.
std::size_t utf8_sequence(std::string_view bytes, std::size_t i)
{
    return decode_utf8(bytes.substr(i)).length;
}

bool is_utf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8_sequence(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

bool allowed_in_xml(unsigned char c)
{
    return c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

std::string xml_text(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    if (is_utf8(bytes)) {
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t length = utf8_sequence(bytes, i);
            const std::string_view character = bytes.substr(i, length);
            i += length;
            // U+FFFE and U+FFFF are not XML characters either.
            const bool allowed = length == 1
                                     ? allowed_in_xml(static_cast<unsigned char>(character[0]))
                                     : character != "\xEF\xBF\xBE" && character != "\xEF\xBF\xBF";
            if (allowed) {
                text += character;
            }
        }
        return text;
    }
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= 0x80) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (allowed_in_xml(c)) {
            text += byte;
        }
    }
    return text;
}

} // namespace kinship::text
