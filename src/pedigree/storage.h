#pragma once

// Sizes of the record's storage, shared by the matrix and the record allocation.

#include "pedigree/checked_size.h"

namespace pedigree::detail {

// Bytes of a MATRIXinit block of rows x columns, or nullopt when negative or too large.
OptionalSize matrix_bytes(int rows, int columns);

} // namespace pedigree::detail
