// The count, the per-person fields, the id index and the entry-point glue shared by the
// readers.

#include "pedigree/reader_support.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>

namespace pedigree::detail {

IdIndex::IdIndex(const digraph& G)
{
    lowest_.reserve(static_cast<std::size_t>(G.V));
    for (int i = 0; i < G.V; ++i) {
        lowest_.try_emplace(G.id[i], i); // a later duplicate never replaces the first
    }
}

int IdIndex::find(int id) const
{
    const auto it = lowest_.find(id);
    return it == lowest_.end() ? -1 : it->second;
}

namespace {

// Copies a word already checked to fit into a CLA_BUFFER_SIZE-byte name buffer.
void store_name(char* buffer, std::string_view word)
{
    const std::size_t length = std::min(word.size(), CLA_BUFFER_SIZE - 1);
    std::memcpy(buffer, word.data(), length);
    buffer[length] = '\0';
}

} // namespace

void IdAndSex::store(digraph& G, int i) const
{
    G.id[i] = id;
    G.sexo[i] = sexo;
}

void ClanPerson::store(digraph& G, int i) const
{
    IdAndSex::store(G, i);
    store_name(G.cla[i], cla.text);
    store_name(G.subcla[i], subcla.text);
    G.nasc[i] = nasc;
    G.morte[i] = morte;
}

std::size_t failure_line(const TextScanner& in, const ScanFailure& failure)
{
    return failure.problem == ScanProblem::end_of_input ? 0 : in.line_of(failure.position);
}

namespace {

// A spreadsheet saved as CSV or TSV: its first line, the header row, holds commas or tabs.
bool starts_like_a_spreadsheet(std::string_view text)
{
    const std::string_view first_line = text.substr(0, text.find('\n'));
    return first_line.find_first_of(",\t") != std::string_view::npos;
}

} // namespace

Result<Count> read_count(TextScanner& in, std::string_view file, CountKind kind)
{
    const bool links = kind == CountKind::links;
    Count count;
    in.skip_whitespace();
    count.position = in.position();
    if (const auto f = in.scan("%d ", &count.value)) {
        if (kind == CountKind::adjacency_individuals) {
            return adjacency_failure(AdjacencyPart::head);
        }
        const Place place{file, failure_line(in, *f)};
        if (!links && f->problem == ScanProblem::not_an_integer &&
            starts_like_a_spreadsheet(in.text())) {
            return spreadsheet_failure(place);
        }
        return item_failure(place, links ? "number of links" : "count of individuals", *f);
    }
    if (count.value < 0) {
        return negative_count_failure(Place{file, in.line_of(count.position)},
                                      links ? "links" : "individuals", count.value);
    }
    return count;
}

void note_unread_text(TextScanner& in, std::string_view file, std::string_view count_name,
                      const Count& count, Notes* notes)
{
    if (notes == nullptr || in.at_end()) {
        return;
    }
    const Place place{file, in.line_of(in.position())};
    notes->push_back(unread_text_note(place, count_name, in.line_of(count.position),
                                      count.value, in.last_line()));
}

Digraph read_or_exit(const char* path, Passes passes, ReaderCore core)
{
    Notes notes;
    Result<DigraphPtr> result = read_pedigree_file(path, passes, core, &notes);
    print_notes(notes);
    if (!result) {
        kinship::print_failure(result.failure());
        std::exit(result.failure().status);
    }
    return std::move(result).value().release();
}

} // namespace pedigree::detail

namespace pedigree {

Result<DigraphPtr> read_pedigree_file(const char* path, Passes passes, ReaderCore core,
                                      Notes* notes)
{
    const Result<std::string> text = load_pedigree_text(path, passes);
    if (!text) {
        return text.failure();
    }
    return core(text.value(), path, notes);
}

void print_notes(const Notes& notes)
{
    std::fflush(stdout);
    for (const std::string& note : notes) {
        std::fprintf(stderr, "%s\n", note.c_str());
    }
    std::fflush(stderr);
}

} // namespace pedigree
