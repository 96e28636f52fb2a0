// The count, the per-person fields, the id index and the entry-point glue shared by the
// readers.

#include "pedigree/reader_support.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>

namespace pedigree::detail {

IdIndex::IdIndex(const digraph& G)
{
    lowest_.reserve(static_cast<std::size_t>(G.V));
    for (int i = 0; i < G.V; ++i) {
        lowest_.try_emplace(G.id[i], i); // a later duplicate never replaces the first
    }
}

int IdIndex::find(int id) const
{
    const auto it = lowest_.find(id);
    return it == lowest_.end() ? -1 : it->second;
}

namespace {

// Copies a word already checked to fit into a CLA_BUFFER_SIZE-byte name buffer.
void store_name(char* buffer, std::string_view word)
{
    const std::size_t length = std::min(word.size(), CLA_BUFFER_SIZE - 1);
    std::memcpy(buffer, word.data(), length);
    buffer[length] = '\0';
}

} // namespace

void IdAndSex::store(digraph& G, int i) const
{
    G.id[i] = id;
    G.sexo[i] = sexo;
}

void ClanPerson::store(digraph& G, int i) const
{
    IdAndSex::store(G, i);
    store_name(G.cla[i], cla.text);
    store_name(G.subcla[i], subcla.text);
    G.nasc[i] = nasc;
    G.morte[i] = morte;
}

Result<int> read_count(TextScanner& in, std::string_view file, CountKind kind)
{
    const bool links = kind == CountKind::links;
    int count = 0;
    if (const auto f = in.scan("%d ", &count)) {
        if (kind == CountKind::adjacency_individuals) {
            return adjacency_failure(AdjacencyPart::head);
        }
        return count_failure(file, links ? "number of links" : "count of individuals", *f);
    }
    if (count < 0) {
        return negative_count_failure(file, links ? "links" : "individuals", count);
    }
    return count;
}

Digraph read_or_exit(const char* path, Passes passes, ReaderCore core)
{
    Result<DigraphPtr> result = read_pedigree_file(path, passes, core);
    if (!result) {
        kinship::print_failure(result.failure());
        std::exit(result.failure().status);
    }
    return std::move(result).value().release();
}

} // namespace pedigree::detail

namespace pedigree {

Result<DigraphPtr> read_pedigree_file(const char* path, Passes passes, ReaderCore core)
{
    const Result<std::string> text = load_pedigree_text(path, passes);
    if (!text) {
        return text.failure();
    }
    return core(text.value(), path);
}

} // namespace pedigree
