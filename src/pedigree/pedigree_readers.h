#pragma once

// The readers' cores, for callers that want a failure as a value instead of the end of
// the process: tests, fuzzers, and front ends with their own error reporting.
//
// Each core parses a whole pedigree held in memory and returns either the complete record
// or the first failure, in file order. A UTF-8 byte-order mark at the start of the text is
// skipped; any other byte that is not an item of the layout is a failure. The C-style entry points
// of ed_with_cla.h open the file, call these cores and turn a failure into its message and exit
// status.

#include "pedigree/ed_with_cla.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace pedigree {

struct DigraphDeleter {
    void operator()(digraph* G) const noexcept { DIGRAPHdestroy(G); }
};
using DigraphPtr = std::unique_ptr<digraph, DigraphDeleter>;

// The check that stopped a read.
enum class Check {
    open_file,        // the file cannot be opened
    rewind,           // the file cannot be rewound for the second pass (a pipe)
    read_file,        // reading the opened file failed
    count,            // the count of individuals does not parse
    negative_count,   // the count of individuals (or of links) is negative
    allocation,       // the record for that many individuals cannot be allocated
    record,           // an individual's record does not yield all its items
    word_length,      // a clan or sub-clan word is longer than 9 characters
    link_count,       // the number of links does not parse
    link,             // a link does not yield both ids
    assembly,         // an id matches no individual ("ERRO na montagem do Grafo.")
    adjacency_count,  // adjacency file: the count does not parse
    adjacency_record, // adjacency file: an id-and-sex record does not parse
    adjacency_entry,  // adjacency file: a matrix entry does not parse
};

struct ReadFailure {
    Check check;
    std::string file;       // the file name as given
    int record = 0;         // 1-based record, link or matrix row number; 0 when there is none
    std::string found;      // what stood where the check failed (or the offending value)
    std::string message;    // the complete diagnostic line, without the line break
    bool on_stdout = false; // the assembly and adjacency messages go to standard output

    int exit_status() const { return 1; }
};

struct ReadResult {
    DigraphPtr graph;                   // the complete record, when the read succeeded
    std::optional<ReadFailure> failure; // otherwise, why it did not
};

// Clan pedigree: count, then records "%d %c %d %d %s %s %d %d " (id, sex, father, mother,
// clan, sub-clan, birth, death). Parents may come later in the file.
ReadResult read_clan_pedigree(std::string_view text, std::string_view file);

// Four-column pedigree: count, then records "%d %d %d %c " (id, father, mother, sex).
ReadResult read_four_column_pedigree(std::string_view text, std::string_view file);

// Individual list plus links: count, records "%d %c %s %s %d %d ", the number of links,
// then links "%d %d " (parent, child).
ReadResult read_links_pedigree(std::string_view text, std::string_view file);

// Adjacency matrix: count, records "%d %c " (id, sex), then count x count entries "%d ".
inline constexpr const char* adjacency_file_name = "grafo_adjacencia.in";
ReadResult read_adjacency_pedigree(std::string_view text,
                                   std::string_view file = adjacency_file_name);

// Whether the reader goes over the file once or twice. A two-pass reader needs a file it
// can rewind, so pipes and other unseekable input are refused up front.
enum class Passes { one, two };

// The whole content of the file at `path`, or the failure to open or read it.
std::variant<std::string, ReadFailure> load_pedigree_text(const char* path, Passes passes);

// Prints the failure's message on its stream (flushing standard output first) and ends
// the process with its exit status.
[[noreturn]] void exit_with(const ReadFailure& failure);

// DIGRAPHinit without ending the process: nullptr when V is negative or the storage
// cannot be obtained.
DigraphPtr try_digraph_init(int V);

// The bytes a record for V individuals takes, or nullopt when V is negative or the size
// does not fit a size_t.
std::optional<std::size_t> digraph_storage_bytes(int V);

} // namespace pedigree
