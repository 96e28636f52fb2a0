// The wording of every reader diagnostic.

#include "pedigree/read_failure.h"

#include "common/text.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace pedigree::detail {

using kinship::quoted;

namespace {

// The problem at `place`: its record, when it has one, leads the problem.
Failure at(const Place& place, const std::string& what)
{
    const std::string subject = place.subject.empty() ? "" : place.subject + ": ";
    return kinship::failure_of({place.file, place.line, subject + what});
}

std::string bytes_text(std::optional<std::size_t> bytes)
{
    if (!bytes) {
        return "more than " + std::to_string(SIZE_MAX) + " bytes";
    }
    std::string text = std::to_string(*bytes) + " bytes";
    constexpr double gib = 1024.0 * 1024.0 * 1024.0;
    if (static_cast<double>(*bytes) >= gib) {
        char approx[64];
        std::snprintf(approx, sizeof approx, " (%.1f GiB)", static_cast<double>(*bytes) / gib);
        text += approx;
    }
    return text;
}

// Items a word read too early can push into: a clan or sub-clan written as two words
// leaves the second word where the birth value should be.
bool after_clan_words(std::string_view item, std::string_view found)
{
    return item == birth_item && !found.empty() && found[0] != '-' && found[0] != '+' &&
           !kinship::text::is_digit(found[0]);
}

// What went wrong with one item, e.g. `the birth value "1880-1950" is not an integer`.
std::string item_problem(std::string_view item, const ScanFailure& failure)
{
    const std::string name(item);
    switch (failure.problem) {
    case ScanProblem::end_of_input:
        return "cannot read the " + name + ": the file ends before it";
    case ScanProblem::not_an_integer: {
        std::string problem = "the " + name + " " + quoted(failure.found) + " is not an integer";
        if (after_clan_words(item, failure.found)) {
            problem += "; a clan or sub-clan word cannot contain a blank (write north_east, "
                       "not north east)";
        }
        return problem;
    }
    case ScanProblem::out_of_range:
        return "the " + name + " " + quoted(failure.found) +
               " is outside the 32-bit integer range, -2147483648 to 2147483647";
    case ScanProblem::word_too_long:
        // The limit counts bytes, and in UTF-8 a letter outside ASCII takes two or more.
        return "the " + name + " word " + quoted(failure.found) + " is " +
               std::to_string(failure.found.size()) +
               " bytes long; clan and sub-clan words may be at most " +
               std::to_string(CLA_BUFFER_SIZE - 1) + " bytes, where an accented letter takes 2";
    case ScanProblem::nul_in_word:
        return "the " + name + " word " + quoted(failure.found) + " holds a NUL byte";
    case ScanProblem::not_one_character:
        return "the " + name + " " + quoted(failure.found) +
               " is not one character: m for a man, any other single character for a woman";
    }
    return "cannot read the " + name;
}

Failure on_stdout(std::string message)
{
    return Failure{std::move(message), 1, true};
}

} // namespace

std::string negative_count_problem(int count, std::string_view what)
{
    return "the count of " + std::string(what) + " is " + std::to_string(count) +
           "; it must be 0 or more";
}

std::string allocation_problem(int count)
{
    return "cannot allocate the record for " + std::to_string(count) + " individuals: it needs " +
           bytes_text(digraph_storage_bytes(count));
}

Failure not_rewindable_failure(std::string_view file, std::string_view kind)
{
    return kinship::failure_of({file, 0,
                                "cannot read the pedigree from " + std::string(kind),
                                "hierarchical-layout takes a regular file only; save the "
                                "pedigree to a file first"});
}

Failure item_failure(const Place& place, std::string_view item, const ScanFailure& failure)
{
    return at(place, item_problem(item, failure));
}

Failure spreadsheet_failure(const Place& place)
{
    return at(place,
              "this looks like a spreadsheet saved with commas or tabs and a header row; "
              "a pedigree is plain text without a header: the number of individuals, "
              "then one individual per line, its items separated by blanks");
}

Failure negative_count_failure(const Place& place, std::string_view what, int count)
{
    return at(place, negative_count_problem(count, what));
}

Failure allocation_failure(std::string_view file, int count)
{
    return kinship::failure_of({file, 0, allocation_problem(count)});
}

namespace {

std::string unknown_ids_problem(std::span<const UnknownId> ids)
{
    std::string text = "the ";
    for (std::size_t k = 0; k < ids.size(); ++k) {
        text += (k == 0 ? "" : " and the ") + std::string(ids[k].item) + " " +
                std::to_string(ids[k].id);
    }
    return text + (ids.size() == 1 ? " matches" : " match") + " no individual";
}

} // namespace

Failure assembly_failure(const std::string& indices, const Place& place,
                         std::span<const UnknownId> ids)
{
    Failure failure{indices + " ERRO na montagem do Grafo.", 1, true};
    failure.note = at(place, unknown_ids_problem(ids)).message;
    return failure;
}

Failure adjacency_failure(AdjacencyPart part)
{
    return on_stdout(part == AdjacencyPart::entry ? "Erro na leitura do arquivo grafo.in."
                                                  : "Erro na leitura do arquivo grafo.");
}

Failure unknown_ids_failure(const Place& place, std::span<const UnknownId> ids)
{
    return at(place, unknown_ids_problem(ids));
}

Failure duplicate_id_failure(const Place& place, int id, std::size_t first_line)
{
    return at(place, "the id " + std::to_string(id) +
                         " is already the id of the individual on line " +
                         std::to_string(first_line) + "; every individual needs an id of their own");
}

Failure cycle_failure(std::string_view file, std::span<const int> ids)
{
    std::string path;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        path += (k == 0 ? "" : " -> ") + std::to_string(ids[k]);
    }
    return kinship::failure_of({file, 0, "individual " + std::to_string(ids.front()) +
                                             " is their own ancestor, through the parents " +
                                             path});
}

std::string unread_text_note(const Place& place, std::string_view count_name,
                             std::size_t count_line, int count, std::size_t last_line)
{
    const std::string lines = last_line == place.line
                                  ? "line " + std::to_string(last_line) + " was"
                                  : "lines " + std::to_string(place.line) + " to " +
                                        std::to_string(last_line) + " were";
    return kinship::describe({place.file, place.line,
                              "note: the " + std::string(count_name) + " on line " +
                                  std::to_string(count_line) + " is " + std::to_string(count) +
                                  ", so " + lines + " not read"});
}

} // namespace pedigree::detail
