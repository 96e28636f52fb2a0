#pragma once

// The readers' cores, for callers that want a failure as a value instead of the end of
// the process: the command's stages, tests, fuzzers, and front ends with their own error
// reporting.
//
// Each core parses a whole pedigree held in memory and returns either the complete record
// or the first failure, in file order. A UTF-8 byte-order mark at the start of the text is
// skipped; any other byte that is not an item of the layout is a failure. The C-style entry
// points of ed_with_cla.h read the file, call these cores and turn a failure into its
// message and exit status.

#include "common/result.h"
#include "pedigree/ed_with_cla.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pedigree {

struct DigraphDeleter {
    void operator()(digraph* G) const noexcept { DIGRAPHdestroy(G); }
};
using DigraphPtr = std::unique_ptr<digraph, DigraphDeleter>;

using kinship::Failure;
using kinship::Result;

// Every core returns a complete record or why there is none. The failure's message is one
// line; it starts with the file name (and the line, where one helps: "ped.txt:22: "),
// except for an id that matches no individual ("... ERRO na montagem do Grafo.") and the
// adjacency file's fixed messages, which go to standard output; the first carries the
// note for standard error that says which id matches nobody.
//
// A line for standard error that does not change the result is added to `notes` when it
// is given: text left after the last record the count announces, which is not read.
using Notes = std::vector<std::string>;

// Clan pedigree: count, then records "%d %c %d %d %s %s %d %d " (id, sex, father, mother,
// clan, sub-clan, birth, death). Parents may come later in the file.
Result<DigraphPtr> read_clan_pedigree(std::string_view text, std::string_view file,
                                      Notes* notes = nullptr);

// Four-column pedigree: count, then records "%d %d %d %c " (id, father, mother, sex).
Result<DigraphPtr> read_four_column_pedigree(std::string_view text, std::string_view file,
                                             Notes* notes = nullptr);

// Individual list plus links: count, records "%d %c %s %s %d %d ", the number of links,
// then links "%d %d " (parent, child).
Result<DigraphPtr> read_links_pedigree(std::string_view text, std::string_view file,
                                       Notes* notes = nullptr);

// Adjacency matrix: count, records "%d %c " (id, sex), then count x count entries "%d ".
inline constexpr const char* adjacency_file_name = "grafo_adjacencia.in";
Result<DigraphPtr> read_adjacency_pedigree(std::string_view text,
                                           std::string_view file = adjacency_file_name,
                                           Notes* notes = nullptr);

// Whether the reader goes over the text once or twice. The two-pass readers take only a
// file that can be rewound, so pipes and other unseekable input are refused up front.
enum class Passes { one, two };

// The whole content of the file at `path`, or the failure to open or read it.
Result<std::string> load_pedigree_text(const char* path, Passes passes);

using ReaderCore = Result<DigraphPtr> (*)(std::string_view text, std::string_view file,
                                          Notes* notes);

// Loads the file at `path` and runs `core` on its text.
Result<DigraphPtr> read_pedigree_file(const char* path, Passes passes, ReaderCore core,
                                      Notes* notes = nullptr);

// Prints each note on standard error, standard output flushed first.
void print_notes(const Notes& notes);

// DIGRAPHinit without ending the process: nullptr when V is negative or the storage
// cannot be obtained.
DigraphPtr try_digraph_init(int V);

// The bytes a record for V individuals takes, or nullopt when V is negative or the size
// does not fit a size_t.
std::optional<std::size_t> digraph_storage_bytes(int V);

} // namespace pedigree
