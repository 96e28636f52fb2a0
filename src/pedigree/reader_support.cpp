// The id index, name storage and the entry-point glue shared by the readers.

#include "pedigree/reader_support.h"

#include <algorithm>
#include <cstring>
#include <variant>

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

void store_name(char* buffer, std::string_view word)
{
    const std::size_t length = std::min(word.size(), CLA_BUFFER_SIZE - 1);
    std::memcpy(buffer, word.data(), length);
    buffer[length] = '\0';
}

Digraph read_or_exit(const char* path, Passes passes, ReaderCore core)
{
    const auto loaded = load_pedigree_text(path, passes);
    if (const auto* failure = std::get_if<ReadFailure>(&loaded)) {
        exit_with(*failure);
    }
    ReadResult result = core(std::get<std::string>(loaded), path);
    if (result.failure) {
        exit_with(*result.failure);
    }
    return result.graph.release();
}

} // namespace pedigree::detail
