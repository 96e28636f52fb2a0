#pragma once

// Pieces shared by the readers: the id index, the parent-column arcs of the clan and
// four-column layouts, and the step from a core to a C-style entry point.

#include "pedigree/pedigree_readers.h"
#include "pedigree/read_failure.h"
#include "pedigree/text_scanner.h"

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pedigree::detail {

// find_id with a hash index built once: every lookup returns what find_id would, the
// lowest index carrying the id, or -1.
class IdIndex {
public:
    explicit IdIndex(const digraph& G);
    int find(int id) const;

private:
    std::unordered_map<int, int> lowest_;
};

inline ReadResult failed(ReadFailure failure)
{
    return ReadResult{nullptr, std::move(failure)};
}

inline ReadResult succeeded(DigraphPtr G)
{
    return ReadResult{std::move(G), std::nullopt};
}

// The text without a leading UTF-8 byte-order mark, which some editors put at the start
// of a plain-text file; everywhere else those bytes are ordinary item bytes.
inline std::string_view without_byte_order_mark(std::string_view text)
{
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    return text.starts_with(mark) ? text.substr(mark.size()) : text;
}

// Copies a word already checked to fit into a CLA_BUFFER_SIZE-byte name buffer.
void store_name(char* buffer, std::string_view word);

// A word target for clan and sub-clan names.
inline Word name_word()
{
    return Word{{}, CLA_BUFFER_SIZE - 1};
}

// The second pass of the layouts with father and mother columns: for each record in file
// order, an arc from each recorded parent (column not 0) to the child. The first record
// whose id or non-zero parent id matches nobody stops it, reported by indices
// (-2 for a parent that is not recorded).
template <typename Record>
std::optional<ReadFailure> make_parent_arcs(digraph& G, std::span<const Record> records,
                                            std::string_view file)
{
    const IdIndex ids(G);
    int number = 0;
    for (const Record& r : records) {
        ++number;
        const int child = ids.find(r.id);
        const int father = r.pai != 0 ? ids.find(r.pai) : -2;
        const int mother = r.mae != 0 ? ids.find(r.mae) : -2;
        if (child == -1 || father == -1 || mother == -1) {
            return assembly_failure(file, number,
                                    std::to_string(child) + " " + std::to_string(father) + " " +
                                        std::to_string(mother));
        }
        if (father != -2) {
            DIGRAPHinsertA(&G, father, child);
        }
        if (mother != -2) {
            DIGRAPHinsertA(&G, mother, child);
        }
    }
    return std::nullopt;
}

using ReaderCore = ReadResult (*)(std::string_view text, std::string_view file);

// Loads `path`, runs `core` on it and returns the record, or ends the process with the
// failure's message and status.
Digraph read_or_exit(const char* path, Passes passes, ReaderCore core);

} // namespace pedigree::detail
