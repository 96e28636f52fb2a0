// The wording of every reader diagnostic.

#include "pedigree/read_failure.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace pedigree::detail {

namespace {

constexpr std::size_t shown_length = 40;

std::string prefix(std::string_view file)
{
    return std::string(file) + ": ";
}

std::string record_prefix(std::string_view file, std::string_view label, int number)
{
    return prefix(file) + std::string(label) + " " + std::to_string(number) + ": ";
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

// What went wrong with one item, e.g. `cannot read the sex: the file ends before it`.
std::string item_problem(std::string_view item, const ScanFailure& failure)
{
    const std::string name(item);
    switch (failure.problem) {
    case ScanProblem::end_of_input:
        return "cannot read the " + name + ": the file ends before it";
    case ScanProblem::not_an_integer:
        return "cannot read the " + name + ": expected an integer, found " + quoted(failure.found);
    case ScanProblem::out_of_range:
        return "cannot read the " + name + ": " + quoted(failure.found) +
               " is outside the range of an int";
    case ScanProblem::word_too_long: {
        // The limit counts bytes: a UTF-8 character outside ASCII takes two to four of
        // them, so a word of 9 such letters can be too long. Say so when that is the case.
        std::string problem = "the " + name + " word " + quoted(failure.found) +
                              " is longer than " + std::to_string(CLA_BUFFER_SIZE - 1);
        const bool ascii = std::all_of(failure.found.begin(), failure.found.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) {
            return problem + " characters";
        }
        return problem + " bytes (it has " + std::to_string(failure.found.size()) +
               " bytes in UTF-8)";
    }
    case ScanProblem::nul_in_word:
        return "the " + name + " word " + quoted(failure.found) + " holds a NUL byte";
    }
    return "cannot read the " + name;
}

Failure on_stderr(std::string message)
{
    return Failure{std::move(message), 1, false};
}

Failure on_stdout(std::string message)
{
    return Failure{std::move(message), 1, true};
}

} // namespace

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    const std::size_t shown = std::min(text.size(), shown_length);
    for (std::size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(c));
            out += hex;
        }
    }
    out += '"';
    if (shown < text.size()) {
        out += "...";
    }
    return out;
}

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

Failure open_failure(std::string_view file, int error)
{
    return on_stderr(prefix(file) + "cannot open the pedigree file: " + std::strerror(error));
}

Failure read_error_failure(std::string_view file, int error)
{
    return on_stderr(prefix(file) + "cannot read the pedigree file: " + std::strerror(error));
}

Failure not_rewindable_failure(std::string_view file, std::string_view kind)
{
    return on_stderr(prefix(file) + "cannot read the pedigree from " + std::string(kind) +
                     ": the file is read twice and this input cannot be rewound; give a "
                     "regular file");
}

Failure count_failure(std::string_view file, std::string_view what, const ScanFailure& failure)
{
    return on_stderr(prefix(file) + item_problem(what, failure));
}

Failure negative_count_failure(std::string_view file, std::string_view what, int count)
{
    return on_stderr(prefix(file) + negative_count_problem(count, what));
}

Failure allocation_failure(std::string_view file, int count)
{
    return on_stderr(prefix(file) + allocation_problem(count));
}

Failure record_failure(std::string_view file, std::string_view label, int number,
                       std::span<const std::string_view> items, const ScanFailure& failure)
{
    const std::string_view item = failure.item < items.size() ? items[failure.item] : "item";
    return on_stderr(record_prefix(file, label, number) + item_problem(item, failure));
}

Failure assembly_failure(const std::string& indices)
{
    return on_stdout(indices + " ERRO na montagem do Grafo.");
}

Failure adjacency_failure(AdjacencyPart part)
{
    return on_stdout(part == AdjacencyPart::entry ? "Erro na leitura do arquivo grafo.in."
                                                  : "Erro na leitura do arquivo grafo.");
}

} // namespace pedigree::detail
