// The individual-list-plus-links reader: a count, one record per individual (id, sex,
// clan, sub-clan, birth, death), the number of links, then links "parent child". Read in
// one pass; an individual may have any number of parents.

#include "pedigree/reader_support.h"

#include <array>
#include <vector>

namespace pedigree {

namespace {

constexpr std::string_view record_pattern = "%d %c %s %s %d %d ";
constexpr std::array<std::string_view, 6> record_items = {
    "individual id", "sex", "clan", "sub-clan", "birth value", "death value"};
constexpr std::string_view link_pattern = "%d %d ";
constexpr std::array<std::string_view, 2> link_items = {"parent id", "child id"};

struct PersonRecord {
    int id = 0;
    char sexo = 0;
    Word cla = detail::name_word();
    Word subcla = detail::name_word();
    int nasc = 0;
    int morte = 0;
};

} // namespace

ReadResult read_links_pedigree(std::string_view text, std::string_view file)
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

    // The individuals are parsed in full before allocating (see the clan reader).
    std::vector<PersonRecord> records;
    for (int i = 0; i < count; ++i) {
        PersonRecord r;
        if (const auto f =
                in.scan(record_pattern, &r.id, &r.sexo, &r.cla, &r.subcla, &r.nasc, &r.morte)) {
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
        const PersonRecord& r = records[static_cast<std::size_t>(i)];
        G->id[i] = r.id;
        G->sexo[i] = r.sexo;
        detail::store_name(G->cla[i], r.cla.text);
        detail::store_name(G->subcla[i], r.subcla.text);
        G->nasc[i] = r.nasc;
        G->morte[i] = r.morte;
    }

    int links = 0;
    if (const auto f = in.scan("%d ", &links)) {
        return detail::failed(
            detail::count_failure(file, Check::link_count, "number of links", *f));
    }
    if (links < 0) {
        return detail::failed(detail::negative_count_failure(file, "links", links));
    }
    const detail::IdIndex ids(*G);
    for (int k = 0; k < links; ++k) {
        int parent_id = 0;
        int child_id = 0;
        if (const auto f = in.scan(link_pattern, &parent_id, &child_id)) {
            return detail::failed(
                detail::record_failure(file, Check::link, "link", k + 1, link_items, *f));
        }
        // Both ids are always looked up: 0 is an ordinary id in this layout.
        const int child = ids.find(child_id);
        const int parent = ids.find(parent_id);
        if (child == -1 || parent == -1) {
            return detail::failed(detail::assembly_failure(
                file, k + 1, std::to_string(child) + " " + std::to_string(parent)));
        }
        DIGRAPHinsertA(G.get(), parent, child);
    }
    return detail::succeeded(std::move(G));
}

} // namespace pedigree

Digraph DIGRAPHcreate_with_cla_multi_parents(const char* path)
{
    return pedigree::detail::read_or_exit(path, pedigree::Passes::one,
                                          pedigree::read_links_pedigree);
}
