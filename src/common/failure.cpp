#include "common/failure.h"

#include "common/utf8.h"

#include <algorithm>
#include <cstdio>

namespace kinship {
namespace {

constexpr std::size_t shown_length = 40;

// Code points that are valid but would not show in a terminal: C1 controls, zero-width
// and direction marks, separators and the byte-order mark.
bool invisible(char32_t c)
{
    return (c >= 0x80 && c <= 0x9f) || (c >= 0x200b && c <= 0x200f) ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2060 && c <= 0x2064) || c == 0xfeff;
}

// The length of the character at the start of `rest` when it can be shown as it is: a
// printable ASCII character other than a quote or a backslash, or a visible code point in
// well-formed UTF-8. 0 when its first byte must be escaped.
std::size_t shown_character_length(std::string_view rest)
{
    const auto lead = static_cast<unsigned char>(rest[0]);
    if (lead < 0x80) {
        return lead >= 0x20 && lead < 0x7f && lead != '"' && lead != '\\' ? 1 : 0;
    }
    const text::Utf8Character character = text::decode_utf8(rest);
    return character.length != 0 && !invisible(character.code_point) ? character.length : 0;
}

} // namespace

std::string describe(const Problem& problem)
{
    std::string text(problem.path);
    if (problem.line != 0) {
        text += ':' + std::to_string(problem.line);
    }
    text += ": " + problem.what;
    if (!problem.detail.empty()) {
        text += ": " + problem.detail;
    }
    return text;
}

Failure failure_of(const Problem& problem)
{
    return Failure{describe(problem)};
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = shown_character_length(text.substr(i));
        if (i + std::max<std::size_t>(length, 1) > shown_length) {
            break;
        }
        const char c = text[i];
        if (length != 0) {
            out.append(text, i, length);
            i += length;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
            out += hex;
        }
        ++i;
    }
    out += '"';
    if (i < text.size()) {
        out += "...";
    }
    return out;
}

void print_failure(const Failure& failure)
{
    std::fflush(stdout);
    std::FILE* stream = failure.on_stdout ? stdout : stderr;
    std::fprintf(stream, "%s\n", failure.message.c_str());
    std::fflush(stream);
    if (!failure.note.empty()) {
        std::fprintf(stderr, "%s\n", failure.note.c_str());
        std::fflush(stderr);
    }
}

} // namespace kinship
