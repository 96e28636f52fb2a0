#include "gml/gml_document.h"

#include <algorithm>

namespace kinship::gml {
namespace {

// Pairs per block: blocks start small for short texts and grow to this size.
constexpr std::size_t first_block_pairs = 256;
constexpr std::size_t largest_block_pairs = std::size_t{1} << 14;

} // namespace

GmlList GmlDocument::keep_list(std::span<const GmlPair> pairs)
{
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < pairs.size()) {
        const std::size_t grown =
            blocks_.empty() ? first_block_pairs
                            : std::min(2 * blocks_.back().capacity(), largest_block_pairs);
        blocks_.emplace_back().reserve(std::max(grown, pairs.size()));
    }
    std::vector<GmlPair>& block = blocks_.back();
    const std::size_t first = block.size();
    block.insert(block.end(), pairs.begin(), pairs.end());
    return {block.data() + first, pairs.size()};
}

std::string_view GmlDocument::keep_string(std::string text)
{
    return strings_.emplace_back(std::move(text));
}

} // namespace kinship::gml
