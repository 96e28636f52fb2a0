#pragma once

// Size arithmetic for allocations whose element counts come from input files: every
// product and sum is checked, so an absurd count is reported instead of wrapping around
// to a small allocation.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace pedigree::detail {

using OptionalSize = std::optional<std::size_t>;

inline OptionalSize checked_mul(OptionalSize a, OptionalSize b)
{
    if (!a || !b) {
        return std::nullopt;
    }
    if (*a != 0 && *b > std::numeric_limits<std::size_t>::max() / *a) {
        return std::nullopt;
    }
    return *a * *b;
}

inline OptionalSize checked_add(OptionalSize a, OptionalSize b)
{
    if (!a || !b || *b > std::numeric_limits<std::size_t>::max() - *a) {
        return std::nullopt;
    }
    return *a + *b;
}

// The allocator refuses anything larger than PTRDIFF_MAX; asking is pointless.
inline bool allocatable(OptionalSize bytes)
{
    return bytes && *bytes <= static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max());
}

} // namespace pedigree::detail
