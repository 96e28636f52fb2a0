#pragma once

// Builders of the readers' failures and notes: one place for the wording of every
// diagnostic.

#include "pedigree/pedigree_readers.h"
#include "pedigree/text_scanner.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pedigree::detail {

// "the count of individuals is -3; it must be 0 or more"
std::string negative_count_problem(int count, std::string_view what = "individuals");
// "cannot allocate the record for N individuals: it needs B bytes"
std::string allocation_problem(int count);

// What a message is about: the file, the line as an editor counts it (0 when the text
// ended first and no line helps) and, where there is one, the record: "record 3" before
// its id has been read, "individual 305" after, "link 2".
struct Place {
    std::string_view file;
    std::size_t line = 0;
    std::string subject = {};
};

Failure not_rewindable_failure(std::string_view file, std::string_view kind);

// The name of the birth item in every layout that has one.
inline constexpr std::string_view birth_item = "birth value";

// An item that does not parse: `item` names it ("birth value").
Failure item_failure(const Place& place, std::string_view item, const ScanFailure& failure);
// A count that does not parse in a file whose first line holds commas or tabs: a
// spreadsheet saved with its header row.
Failure spreadsheet_failure(const Place& place);
Failure negative_count_failure(const Place& place, std::string_view what, int count);
Failure allocation_failure(std::string_view file, int count);

// An id that matches no individual: the item that holds it, and the id.
struct UnknownId {
    std::string_view item; // "mother id"
    int id;
};
// The fixed line for standard output, with the line's numbers (`indices`, e.g. "4 -2 -1"),
// and the note for standard error that says which ids at `place` match nobody.
Failure assembly_failure(const std::string& indices, const Place& place,
                         std::span<const UnknownId> ids);
// The same problem for readers that stop there with a message of their own.
Failure unknown_ids_failure(const Place& place, std::span<const UnknownId> ids);
// An id that an earlier record, on `first_line`, already carries.
Failure duplicate_id_failure(const Place& place, int id, std::size_t first_line);
// Someone who is their own ancestor: `ids` runs from a person up through parents back to
// the same person.
Failure cycle_failure(std::string_view file, std::span<const int> ids);

// Text left after the last record the count (or the number of links) announces.
std::string unread_text_note(const Place& place, std::string_view count_name,
                             std::size_t count_line, int count, std::size_t last_line);

// The adjacency file's fixed messages: one for a matrix entry, one for the count or a
// record.
enum class AdjacencyPart { head, entry };
Failure adjacency_failure(AdjacencyPart part);

} // namespace pedigree::detail
