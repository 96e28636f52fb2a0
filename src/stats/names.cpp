#include "stats/names.h"

#include <vector>

namespace kinship::stats {
namespace {

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos
               ? std::string_view()
               : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

Result<std::unordered_map<std::string, std::string>> read_names(std::string_view text,
                                                                const std::string& path)
{
    std::unordered_map<std::string, std::string> names;
    std::unordered_map<std::string, std::size_t> named_on;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size(); ) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (number == 1 || trimmed(line).empty()) {
            continue; // the header, or a blank line
        }
        const auto fail = [&](const std::string& what) {
            return Failure{path + ":" + std::to_string(number) + ": " + what};
        };
        std::vector<std::string_view> row;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            row.push_back(line.substr(from, tab - from));
            if (tab == std::string_view::npos) {
                break;
            }
            from = tab + 1;
        }
        if (row.size() != 3) {
            return fail("expected id<TAB>cross-reference<TAB>name, found " +
                        std::to_string(row.size()) + (row.size() == 1 ? " field" : " fields"));
        }
        const std::string id(trimmed(row[0]));
        if (id.empty()) {
            return fail("the id is empty");
        }
        if (const auto [earlier, added] = named_on.emplace(id, number); !added) {
            return fail("id " + id + " is already named on line " +
                        std::to_string(earlier->second));
        }
        names.emplace(id, std::string(trimmed(row[2])));
    }
    return names;
}

} // namespace kinship::stats
