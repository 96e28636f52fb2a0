// MATRIXinit and MATRIXdestroy: an integer matrix as one block holding the row pointers
// followed by the rows.
//
// One block means one allocation to check and one to release. For the all-zero matrix of
// a fresh digraph the block comes from calloc, which hands out untouched zero pages for
// large sizes, so a V x V matrix costs resident memory only for the rows that get arcs.

#include "pedigree/ed_with_cla.h"
#include "pedigree/storage.h"

#include <algorithm>
#include <cstdlib>

namespace pedigree::detail {

OptionalSize matrix_bytes(int rows, int columns)
{
    if (rows < 0 || columns < 0) {
        return std::nullopt;
    }
    const auto r = static_cast<std::size_t>(rows);
    const auto c = static_cast<std::size_t>(columns);
    return checked_add(checked_mul(r, sizeof(int*)), checked_mul(checked_mul(r, c), sizeof(int)));
}

} // namespace pedigree::detail

int** MATRIXinit(int rows, int columns, int value)
{
    const auto bytes = pedigree::detail::matrix_bytes(rows, columns);
    if (!pedigree::detail::allocatable(bytes)) {
        return nullptr;
    }
    // At least one byte, so an empty matrix is still a valid, releasable pointer.
    const std::size_t size = std::max<std::size_t>(*bytes, 1);
    void* block = value == 0 ? std::calloc(1, size) : std::malloc(size);
    if (block == nullptr) {
        return nullptr;
    }
    auto** row = static_cast<int**>(block);
    int* cells = reinterpret_cast<int*>(row + rows);
    const auto c = static_cast<std::size_t>(columns);
    for (int i = 0; i < rows; ++i) {
        row[i] = cells + static_cast<std::size_t>(i) * c;
    }
    if (value != 0) {
        std::fill_n(cells, static_cast<std::size_t>(rows) * c, value);
    }
    return row;
}

void MATRIXdestroy(int** matrix)
{
    std::free(matrix);
}
