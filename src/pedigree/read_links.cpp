// The individual-list-plus-links reader: a count, one record per individual (id, sex,
// clan, sub-clan, birth, death), the number of links, then links "parent child". Read in
// one pass; an individual may have any number of parents.

#include "pedigree/reader_support.h"

#include <array>
#include <vector>

namespace pedigree {

namespace {

struct PersonRecord : detail::ClanPerson {
    static constexpr std::array<std::string_view, 6> items = {
        "individual id", "sex", "clan", "sub-clan", detail::birth_item, "death value"};
    std::optional<ScanFailure> scan(TextScanner& in)
    {
        return in.scan("%d %c %s %s %d %d ", &id, &sexo, &cla, &subcla, &nasc, &morte);
    }
};

constexpr std::array<std::string_view, 2> link_items = {"parent id", "child id"};

} // namespace

Result<DigraphPtr> read_links_pedigree(std::string_view text, std::string_view file,
                                       Notes* notes)
{
    TextScanner in(detail::without_byte_order_mark(text));
    detail::Count count;
    std::vector<PersonRecord> records;
    Result<DigraphPtr> result =
        detail::read_people(in, file, detail::CountKind::individuals, records, count);
    if (!result) {
        return result;
    }
    const Result<detail::Count> links = detail::read_count(in, file, detail::CountKind::links);
    if (!links) {
        return links.failure();
    }
    // Each link is joined as soon as it is read, so a link naming nobody is reported before
    // any later link that does not parse.
    digraph& G = *result.value();
    const detail::IdIndex ids(G);
    for (int k = 0; k < links.value().value; ++k) {
        int parent_id = 0;
        int child_id = 0;
        in.skip_whitespace();
        const std::size_t start = in.position();
        const auto subject = [k] { return "link " + std::to_string(k + 1); };
        if (const auto f = in.scan("%d %d ", &parent_id, &child_id)) {
            return detail::item_failure({file, detail::failure_line(in, *f), subject()},
                                        link_items[f->item], *f);
        }
        // Both ids are always looked up: 0 is an ordinary id in this layout.
        const int child = ids.find(child_id);
        const int parent = ids.find(parent_id);
        if (child == -1 || parent == -1) {
            std::vector<detail::UnknownId> unknown;
            if (parent == -1) {
                unknown.push_back({"parent id", parent_id});
            }
            if (child == -1) {
                unknown.push_back({"child id", child_id});
            }
            return detail::assembly_failure(std::to_string(child) + " " + std::to_string(parent),
                                            {file, in.line_of(start), subject()}, unknown);
        }
        DIGRAPHinsertA(&G, parent, child);
    }
    detail::note_unread_text(in, file, "number of links", links.value(), notes);
    return result;
}

} // namespace pedigree

Digraph DIGRAPHcreate_with_cla_multi_parents(const char* path)
{
    return pedigree::detail::read_or_exit(path, pedigree::Passes::one,
                                          pedigree::read_links_pedigree);
}
