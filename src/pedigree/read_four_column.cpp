// The four-column pedigree reader: a count, then one record per individual with id,
// father, mother and sex. Clan, sub-clan, birth and death are not in this layout.

#include "pedigree/reader_support.h"

#include <array>
#include <vector>

namespace pedigree {

namespace {

constexpr std::string_view record_pattern = "%d %d %d %c ";
constexpr std::array<std::string_view, 4> record_items = {"individual id", "father id", "mother id",
                                                          "sex"};

struct FourColumnRecord {
    int id = 0;
    int pai = 0;
    int mae = 0;
    char sexo = 0;
};

} // namespace

ReadResult read_four_column_pedigree(std::string_view text, std::string_view file)
{
    TextScanner in(detail::without_byte_order_mark(text));
    int count = 0;
    if (const auto f = in.scan("%d ", &count)) {
        return detail::failed(
            detail::count_failure(file, Check::count, "count of individuals", *f));
    }
    if (count < 0) {
        return detail::failed(detail::negative_count_failure(file, "individuals", count));
    }

    // First pass, parsed in full before allocating (see the clan reader).
    std::vector<FourColumnRecord> records;
    for (int i = 0; i < count; ++i) {
        FourColumnRecord r;
        if (const auto f = in.scan(record_pattern, &r.id, &r.pai, &r.mae, &r.sexo)) {
            return detail::failed(
                detail::record_failure(file, Check::record, "record", i + 1, record_items, *f));
        }
        records.push_back(r);
    }

    DigraphPtr G = try_digraph_init(count);
    if (!G) {
        return detail::failed(detail::allocation_failure(file, count));
    }
    for (int i = 0; i < count; ++i) {
        G->id[i] = records[static_cast<std::size_t>(i)].id;
        G->sexo[i] = records[static_cast<std::size_t>(i)].sexo;
    }

    // Second pass: the arcs.
    if (auto f = detail::make_parent_arcs<FourColumnRecord>(*G, records, file)) {
        return detail::failed(std::move(*f));
    }
    return detail::succeeded(std::move(G));
}

} // namespace pedigree

Digraph DIGRAPHcreate(const char* path)
{
    return pedigree::detail::read_or_exit(path, pedigree::Passes::two,
                                          pedigree::read_four_column_pedigree);
}
