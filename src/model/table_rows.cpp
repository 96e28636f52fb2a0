#include "model/table_rows.h"

#include <algorithm>

namespace kinship {

std::vector<std::string_view> tab_fields(std::string_view line)
{
    std::vector<std::string_view> result;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos;
         start = tab + 1) {
        result.push_back(line.substr(start, tab - start));
    }
    result.push_back(line.substr(start));
    return result;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view table_header(std::string_view text)
{
    std::string_view line = text.substr(0, text.find('\n'));
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

Result<std::string_view> for_each_table_row(
    std::string_view text,
    const std::function<Status(std::size_t number, std::string_view line,
                               const std::vector<std::string_view>& fields)>& row)
{
    std::size_t number = 1;
    for (std::size_t start = std::min(text.find('\n'), text.size()) + 1; start < text.size();) {
        ++number;
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (trimmed(line).empty()) {
            continue;
        }
        if (const Status done_row = row(number, line, tab_fields(line)); !done_row) {
            return done_row.failure();
        }
    }
    return table_header(text);
}

} // namespace kinship
