// The clan pedigree reader: a count, then one record per individual with id, sex, father,
// mother, clan, sub-clan, birth and death.

#include "pedigree/reader_support.h"

#include <array>
#include <vector>

namespace pedigree {

namespace {

constexpr std::string_view record_pattern = "%d %c %d %d %s %s %d %d ";
constexpr std::array<std::string_view, 8> record_items = {
    "individual id", "sex",      "father id",   "mother id",
    "clan",          "sub-clan", "birth value", "death value"};

struct ClanRecord {
    int id = 0;
    char sexo = 0;
    int pai = 0;
    int mae = 0;
    Word cla = detail::name_word();
    Word subcla = detail::name_word();
    int nasc = 0;
    int morte = 0;
};

} // namespace

ReadResult read_clan_pedigree(std::string_view text, std::string_view file)
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

    // First pass. Every record is parsed before the record for `count` individuals is
    // allocated, so a count far beyond the records that follow is reported at the first
    // missing record instead of as a vast allocation.
    std::vector<ClanRecord> records;
    for (int i = 0; i < count; ++i) {
        ClanRecord r;
        if (const auto f = in.scan(record_pattern, &r.id, &r.sexo, &r.pai, &r.mae, &r.cla,
                                   &r.subcla, &r.nasc, &r.morte)) {
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
        const ClanRecord& r = records[static_cast<std::size_t>(i)];
        G->id[i] = r.id;
        G->sexo[i] = r.sexo;
        detail::store_name(G->cla[i], r.cla.text);
        detail::store_name(G->subcla[i], r.subcla.text);
        G->nasc[i] = r.nasc;
        G->morte[i] = r.morte;
    }

    // Second pass: the arcs, now that every id is known.
    if (auto f = detail::make_parent_arcs<ClanRecord>(*G, records, file)) {
        return detail::failed(std::move(*f));
    }
    return detail::succeeded(std::move(G));
}

} // namespace pedigree

Digraph DIGRAPHcreate_with_cla(const char* path)
{
    return pedigree::detail::read_or_exit(path, pedigree::Passes::two,
                                          pedigree::read_clan_pedigree);
}
