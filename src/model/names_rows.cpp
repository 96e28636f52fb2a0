#include "model/names_rows.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "common/whole_file.h"

namespace kinship {
namespace {

std::vector<std::string_view> fields(std::string_view line)
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

} // namespace

Result<NamesRows> read_names_rows(std::string_view text, const std::string& path)
{
    NamesRows table;
    std::unordered_map<std::string, int> named_on_line;
    int number = 0;
    for (std::size_t start = 0; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (number == 0) {
            table.header = line;
            continue;
        }
        if (trimmed(line).empty()) {
            continue;
        }
        const auto fail = [&](const std::string& what) {
            return failure_of({path, static_cast<std::size_t>(number) + 1, what});
        };
        const std::vector<std::string_view> row = fields(line);
        if (row.size() != 3) {
            return fail("expected id<TAB>cross-reference<TAB>name, found " +
                        std::to_string(row.size()) + (row.size() == 1 ? " field" : " fields"));
        }
        std::string id(trimmed(row[0]));
        if (id.empty()) {
            return fail("the id is empty");
        }
        if (const auto [earlier, added] = named_on_line.emplace(id, number + 1); !added) {
            return fail("id " + id + " is already named on line " +
                        std::to_string(earlier->second));
        }
        table.rows.push_back(NamesRow{std::move(id), trimmed(row[2]), line});
    }
    return table;
}

Result<NamesRows> load_names_rows(const std::string& path, std::string& text)
{
    Result<std::string> read = read_whole_file(path, "the names table");
    if (!read) {
        return read.failure();
    }
    text = std::move(read).value();
    return read_names_rows(text, path);
}

} // namespace kinship
