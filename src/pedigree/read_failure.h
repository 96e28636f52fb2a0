#pragma once

// Builders of the readers' failure values: one place for the wording of every diagnostic.

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

ReadFailure open_failure(std::string_view file, int error);
ReadFailure read_error_failure(std::string_view file, int error);
ReadFailure not_rewindable_failure(std::string_view file, std::string_view kind);

// The count at the head of the file (or the number of links) does not parse.
ReadFailure count_failure(std::string_view file, Check check, std::string_view what,
                          const ScanFailure& failure);
ReadFailure negative_count_failure(std::string_view file, std::string_view what, int count);
ReadFailure allocation_failure(std::string_view file, int count);

// Record or link `number` (1-based) does not parse; `items` names the pattern's items.
ReadFailure record_failure(std::string_view file, Check check, std::string_view label, int number,
                           std::span<const std::string_view> items, const ScanFailure& failure);

// An id that matches no individual: `indices` is the line's numbers, e.g. "4 -2 -1".
ReadFailure assembly_failure(std::string_view file, int record, std::string indices);

// The adjacency file's fixed messages.
ReadFailure adjacency_failure(std::string_view file, Check check, int record,
                              const ScanFailure& failure);

} // namespace pedigree::detail
