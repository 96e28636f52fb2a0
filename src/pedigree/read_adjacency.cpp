// The adjacency-matrix reader: "grafo_adjacencia.in" in the working directory holds a
// count, one "id sex" record per individual, then the count x count matrix row by row;
// an entry of 1 in row i, column j is an arc i -> j, any other value is no arc.
//
// An unreadable count, record or entry gets this layout's fixed message on standard
// output; a negative count and an allocation failure are refused on standard error, as
// in the other layouts.

#include "pedigree/reader_support.h"

#include <vector>

namespace pedigree {

namespace {

struct IdAndSex {
    int id = 0;
    char sexo = 0;
};

} // namespace

ReadResult read_adjacency_pedigree(std::string_view text, std::string_view file)
{
    TextScanner in(detail::without_byte_order_mark(text));
    int count = 0;
    if (const auto f = in.scan("%d ", &count)) {
        return detail::failed(detail::adjacency_failure(file, Check::adjacency_count, 0, *f));
    }
    if (count < 0) {
        return detail::failed(detail::negative_count_failure(file, "individuals", count));
    }

    // The id records are parsed in full before allocating (see the clan reader).
    std::vector<IdAndSex> records;
    for (int i = 0; i < count; ++i) {
        IdAndSex r;
        if (const auto f = in.scan("%d %c ", &r.id, &r.sexo)) {
            return detail::failed(
                detail::adjacency_failure(file, Check::adjacency_record, i + 1, *f));
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

    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            int entry = 0;
            if (const auto f = in.scan("%d ", &entry)) {
                return detail::failed(
                    detail::adjacency_failure(file, Check::adjacency_entry, i + 1, *f));
            }
            if (entry == 1) {
                DIGRAPHinsertA(G.get(), i, j);
            }
        }
    }
    return detail::succeeded(std::move(G));
}

} // namespace pedigree

Digraph DIGRAPHcosangcreate()
{
    return pedigree::detail::read_or_exit(pedigree::adjacency_file_name, pedigree::Passes::one,
                                          pedigree::read_adjacency_pedigree);
}
