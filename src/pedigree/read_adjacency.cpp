// The adjacency-matrix reader: "grafo_adjacencia.in" in the working directory holds a
// count, one "id sex" record per individual, then the count x count matrix row by row;
// an entry of 1 in row i, column j is an arc i -> j, any other value is no arc.
//
// An unreadable count, record or entry gets this layout's fixed message on standard
// output; a negative count and an allocation failure are refused on standard error, as
// in the other layouts.

#include "pedigree/reader_support.h"

#include <array>
#include <vector>

namespace pedigree {

namespace {

struct IdAndSexRecord : detail::IdAndSex {
    static constexpr std::array<std::string_view, 2> items = {"individual id", "sex"};
    std::optional<ScanFailure> scan(TextScanner& in) { return in.scan("%d %c ", &id, &sexo); }
};

} // namespace

Result<DigraphPtr> read_adjacency_pedigree(std::string_view text, std::string_view file,
                                           Notes* /*notes: this layout has none*/)
{
    TextScanner in(detail::without_byte_order_mark(text));
    detail::Count count;
    std::vector<IdAndSexRecord> records;
    Result<DigraphPtr> result =
        detail::read_people(in, file, detail::CountKind::adjacency_individuals, records, count);
    if (!result) {
        return result;
    }
    digraph& G = *result.value();
    for (int i = 0; i < G.V; ++i) {
        for (int j = 0; j < G.V; ++j) {
            int entry = 0;
            if (in.scan("%d ", &entry)) {
                return detail::adjacency_failure(detail::AdjacencyPart::entry);
            }
            if (entry == 1) {
                DIGRAPHinsertA(&G, i, j);
            }
        }
    }
    return result;
}

} // namespace pedigree

Digraph DIGRAPHcosangcreate()
{
    return pedigree::detail::read_or_exit(pedigree::adjacency_file_name, pedigree::Passes::one,
                                          pedigree::read_adjacency_pedigree);
}
