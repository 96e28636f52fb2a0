#include "model/names_rows.h"

#include <unordered_map>

#include "common/whole_file.h"
#include "model/table_rows.h"

namespace kinship {

Result<NamesRows> read_names_rows(std::string_view text, const std::string& path)
{
    NamesRows table;
    std::unordered_map<std::string, std::size_t> named_on_line;
    const Result<std::string_view> header = for_each_table_row(
        text, [&](std::size_t number, std::string_view line,
                  const std::vector<std::string_view>& row) -> Status {
            const auto fail = [&](const std::string& what) {
                return failure_of({path, number, what});
            };
            if (row.size() != 3) {
                return fail("expected id<TAB>cross-reference<TAB>name, found " +
                            std::to_string(row.size()) +
                            (row.size() == 1 ? " field" : " fields"));
            }
            std::string id(trimmed(row[0]));
            if (id.empty()) {
                return fail("the id is empty");
            }
            if (const auto [earlier, added] = named_on_line.emplace(id, number); !added) {
                return fail("id " + id + " is already named on line " +
                            std::to_string(earlier->second));
            }
            table.rows.push_back(NamesRow{std::move(id), trimmed(row[2]), line});
            return done;
        });
    if (!header) {
        return header.failure();
    }
    table.header = header.value();
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
