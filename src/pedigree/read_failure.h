#pragma once

// Builders of the readers' failures: one place for the wording of every diagnostic.

#include "pedigree/pedigree_readers.h"
#include "pedigree/text_scanner.h"

#include <span>
#include <string>
#include <string_view>

namespace pedigree::detail {

// The item as it may be shown in a message: quoted, non-printable bytes as \xNN, and cut
// with "..." when very long.
std::string quoted(std::string_view text);

// "the count of individuals is -3; it must be 0 or more"
std::string negative_count_problem(int count, std::string_view what = "individuals");
// "cannot allocate the record for N individuals: it needs B bytes"
std::string allocation_problem(int count);

Failure open_failure(std::string_view file, int error);
Failure read_error_failure(std::string_view file, int error);
Failure not_rewindable_failure(std::string_view file, std::string_view kind);

// The count at the head of the file (or the number of links) does not parse.
Failure count_failure(std::string_view file, std::string_view what, const ScanFailure& failure);
Failure negative_count_failure(std::string_view file, std::string_view what, int count);
Failure allocation_failure(std::string_view file, int count);

// Record or link `number` (1-based) does not parse; `items` names the pattern's items.
Failure record_failure(std::string_view file, std::string_view label, int number,
                       std::span<const std::string_view> items, const ScanFailure& failure);

// An id that matches no individual: `indices` is the line's numbers, e.g. "4 -2 -1".
Failure assembly_failure(const std::string& indices);

// The adjacency file's fixed messages: one for a matrix entry, one for the count or a
// record.
enum class AdjacencyPart { head, entry };
Failure adjacency_failure(AdjacencyPart part);

} // namespace pedigree::detail
