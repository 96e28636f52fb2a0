#include "model/marriages.h"

#include "common/whole_file.h"
#include "model/pedigree_reader.h"
#include "model/table_rows.h"

#include <charconv>
#include <limits>

namespace kinship {
namespace {

// A whole number written as it is, at most an int: "12", "-560".
bool whole_number(std::string_view text, int& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

} // namespace

Result<MarriagesTable> read_marriages(std::string_view text, const std::string& path,
                                      const Pedigree& pedigree)
{
    MarriagesTable table;
    const Result<std::string_view> header = for_each_table_row(
        text, [&](std::size_t number, std::string_view line,
                  const std::vector<std::string_view>& row) -> Status {
            const auto fail = [&](const std::string& what) {
                return failure_of({path, number, what});
            };
            if (row.size() != 4) {
                return fail("expected husband<TAB>wife<TAB>year<TAB>cross-reference, found " +
                            std::to_string(row.size()) +
                            (row.size() == 1 ? " field" : " fields"));
            }
            int partner[2] = {0, 0};
            for (int k = 0; k < 2; ++k) {
                const char* role = k == 0 ? "husband" : "wife";
                const std::string_view word = trimmed(row[static_cast<std::size_t>(k)]);
                int id = 0;
                if (!whole_number(word, id)) {
                    return fail(std::string("the ") + role + " id " + quoted(word) +
                                " is not a whole number");
                }
                if ((partner[k] = pedigree.find(id)) == Pedigree::none) {
                    return fail(std::string("the ") + role + " id " + std::to_string(id) +
                                " is no individual of the pedigree");
                }
            }
            if (partner[0] == partner[1]) {
                return fail("individual " + std::string(trimmed(row[0])) +
                            " is married to themself");
            }
            int year = 0;
            if (const std::string_view word = trimmed(row[2]);
                !word.empty() && !whole_number(word, year)) {
                return fail("the year " + quoted(word) + " is not a whole number");
            }
            table.rows.push_back({Couple{partner[0], partner[1], year}, std::string(line)});
            return done;
        });
    if (!header) {
        return header.failure();
    }
    table.header = header.value();
    return table;
}

Result<MarriagesTable> load_marriages(const std::string& path, const Pedigree& pedigree)
{
    const Result<std::string> text = read_whole_file(path, "the marriages table");
    if (!text) {
        return text.failure();
    }
    return read_marriages(text.value(), path, pedigree);
}

Status add_marriages(const std::string& path, Pedigree& pedigree)
{
    const Result<MarriagesTable> table = load_marriages(path, pedigree);
    if (!table) {
        return table.failure();
    }
    std::vector<Couple> couples;
    couples.reserve(table.value().rows.size());
    for (const Marriage& marriage : table.value().rows) {
        couples.push_back(marriage.couple);
    }
    pedigree.set_marriages(couples);
    return done;
}

Result<Pedigree> load_pedigree_with_marriages(const std::string& pedigree_path,
                                              const std::optional<std::string>& marriages_path)
{
    Result<Pedigree> read = load_pedigree_model(pedigree_path);
    if (read && marriages_path) {
        if (const Status added = add_marriages(*marriages_path, read.value()); !added) {
            return added.failure();
        }
    }
    return read;
}

} // namespace kinship
