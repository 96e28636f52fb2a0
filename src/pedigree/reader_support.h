#pragma once

// Pieces shared by the readers: the count, the first pass over the individuals' records,
// the id index, the parent-column arcs of the clan and four-column layouts, and the step
// from a core to a C-style entry point.

#include "pedigree/pedigree_readers.h"
#include "pedigree/read_failure.h"
#include "common/text.h"
#include "pedigree/text_scanner.h"

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pedigree::detail {

// find_id with a hash index built once: every lookup returns what find_id would, the
// lowest index carrying the id, or -1.
class IdIndex {
public:
    explicit IdIndex(const digraph& G);
    int find(int id) const;

private:
    std::unordered_map<int, int> lowest_;
};

// A leading UTF-8 byte-order mark is skipped; everywhere else those bytes are ordinary
// item bytes.
using kinship::text::without_byte_order_mark;

// A word target for clan and sub-clan names.
inline Word name_word()
{
    return Word{{}, CLA_BUFFER_SIZE - 1};
}

// The per-person fields every layout has; store() puts them into individual i of G.
struct IdAndSex {
    std::size_t start = 0; // where the record starts in the text, for messages
    int id = 0;
    char sexo = 0;
    void store(digraph& G, int i) const;
};

// The per-person fields of the clan-style layouts.
struct ClanPerson : IdAndSex {
    Word cla = name_word();
    Word subcla = name_word();
    int nasc = 0;
    int morte = 0;
    void store(digraph& G, int i) const;
};

// The line of a failed item, or 0 when the text ended before it.
std::size_t failure_line(const TextScanner& in, const ScanFailure& failure);

// The number at the head of a layout, or the number of links, and where it stands.
struct Count {
    int value = 0;
    std::size_t position = 0;
};

// Reads a count: its value, or the failure of an unreadable or negative number (in the
// adjacency file's own wording when unreadable; as a spreadsheet export when the count of
// individuals is a word and the first line holds commas or tabs).
enum class CountKind { individuals, adjacency_individuals, links };
Result<Count> read_count(TextScanner& in, std::string_view file, CountKind kind);

// Adds a note when text is left after the last item read: the records after the count's
// last one (or the links after the last link) are not read.
void note_unread_text(TextScanner& in, std::string_view file, std::string_view count_name,
                      const Count& count, Notes* notes);

// The first pass over the individuals: the count at the head of the layout (left in
// `count`), then that many records of type Record, each parsed by `r.scan(in)` and named
// in messages by Record::items and by its record number until its id is read, by the id
// after (the adjacency file has its fixed wording instead). The records are left in
// `records`, in file order.
template <typename Record>
kinship::Status scan_records(TextScanner& in, std::string_view file, CountKind kind,
                             std::vector<Record>& records, Count& count)
{
    const Result<Count> head = read_count(in, file, kind);
    if (!head) {
        return head.failure();
    }
    count = head.value();
    for (int i = 0; i < count.value; ++i) {
        Record r;
        in.skip_whitespace();
        r.start = in.position();
        if (const auto f = r.scan(in)) {
            if (kind == CountKind::adjacency_individuals) {
                return adjacency_failure(AdjacencyPart::head);
            }
            const std::string subject = f->item == 0 ? "record " + std::to_string(i + 1)
                                                     : "individual " + std::to_string(r.id);
            return item_failure(Place{file, failure_line(in, *f), subject},
                                Record::items[f->item], *f);
        }
        records.push_back(r);
    }
    return kinship::done;
}

// scan_records, then the digraph record with each record's fields stored. Every record is
// parsed before the record for `count` individuals is allocated, so a count far beyond the
// records that follow is reported at the first missing record instead of as a vast
// allocation.
template <typename Record>
Result<DigraphPtr> read_people(TextScanner& in, std::string_view file, CountKind kind,
                               std::vector<Record>& records, Count& count)
{
    if (const kinship::Status scanned = scan_records(in, file, kind, records, count); !scanned) {
        return scanned.failure();
    }
    DigraphPtr G = try_digraph_init(count.value);
    if (!G) {
        return allocation_failure(file, count.value);
    }
    for (int i = 0; i < G->V; ++i) {
        records[static_cast<std::size_t>(i)].store(*G, i);
    }
    return G;
}

// The second pass of the layouts with father and mother columns: for each record in file
// order, an arc from each recorded parent (column not 0) to the child. The first record
// whose id or non-zero parent id matches nobody stops it, reported by indices
// (-2 for a parent that is not recorded), with the note naming the ids.
template <typename Record>
kinship::Status make_parent_arcs(digraph& G, std::span<const Record> records,
                                 const TextScanner& in, std::string_view file)
{
    const IdIndex ids(G);
    for (const Record& r : records) {
        const int child = ids.find(r.id);
        const int father = r.pai != 0 ? ids.find(r.pai) : -2;
        const int mother = r.mae != 0 ? ids.find(r.mae) : -2;
        if (child == -1 || father == -1 || mother == -1) {
            std::vector<UnknownId> unknown;
            if (child == -1) {
                unknown.push_back({"own id", r.id});
            }
            if (father == -1) {
                unknown.push_back({"father id", r.pai});
            }
            if (mother == -1) {
                unknown.push_back({"mother id", r.mae});
            }
            return assembly_failure(
                std::to_string(child) + " " + std::to_string(father) + " " +
                    std::to_string(mother),
                Place{file, in.line_of(r.start), "individual " + std::to_string(r.id)}, unknown);
        }
        if (father != -2) {
            DIGRAPHinsertA(&G, father, child);
        }
        if (mother != -2) {
            DIGRAPHinsertA(&G, mother, child);
        }
    }
    return kinship::done;
}

// The whole read of a layout whose records carry father and mother columns: the first
// pass over the records, then the arcs, now that every id is known (parents may come later
// in the file).
template <typename Record>
Result<DigraphPtr> read_with_parent_columns(std::string_view text, std::string_view file,
                                            Notes* notes)
{
    TextScanner in(without_byte_order_mark(text));
    Count count;
    std::vector<Record> records;
    Result<DigraphPtr> result = read_people(in, file, CountKind::individuals, records, count);
    if (!result) {
        return result;
    }
    const std::span<const Record> all(records);
    if (const kinship::Status arcs = make_parent_arcs(*result.value(), all, in, file);
        !arcs) {
        return arcs.failure();
    }
    note_unread_text(in, file, "count of individuals", count, notes);
    return result;
}

// Reads `path` with `core`, or ends the process with the failure's message and status;
// prints the notes on standard error either way.
Digraph read_or_exit(const char* path, Passes passes, ReaderCore core);

} // namespace pedigree::detail
