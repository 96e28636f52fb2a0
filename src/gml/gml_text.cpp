#include "gml/gml_text.h"

#include <cstdio>

namespace kinship::gml {

void append_real(std::string& out, double value)
{
    // Enough for "-1.234567890e+308" and for "nan"/"inf".
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%#.10g", value);
    out.append(buffer, static_cast<std::size_t>(length));
}

void append_long_string(std::string& out, std::string_view text)
{
    constexpr int line_limit = 200;
    out.push_back('"');
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
