#pragma once

// The one shape of a failure: where it happened (the file, the line), what was wrong and,
// when there is one, a detail such as the system's reason. One function turns it into the
// text a user reads, and one rule shows the bytes of an offending item.

#include <cstddef>
#include <string>
#include <string_view>

namespace kinship {

// Why a step failed, worded for the person running the program.
struct Failure {
    // The complete message, one or more lines, without the final line break.
    std::string message;
    // The status the program ends with.
    int status = 1;
    // A few fixed messages of the pedigree readers go to standard output; all others
    // go to standard error.
    bool on_stdout = false;
    // A line for standard error that goes with a fixed message on standard output and
    // says what the fixed one cannot (which id matches no individual); empty for none.
    std::string note = {};
};

// What went wrong and where.
struct Problem {
    std::string_view path;
    // The line as an editor counts it; 0 when no line helps.
    std::size_t line = 0;
    std::string what;
    // Said after the problem, e.g. the system's reason; empty for none.
    std::string detail = {};
};

// "path:line: what: detail", the line and the detail left out when there are none.
std::string describe(const Problem& problem);

// The failure, with status 1 on standard error, that reads as describe(problem).
Failure failure_of(const Problem& problem);

// An item as it may be shown in a message, in double quotes: UTF-8 text as it is, a quote
// or a backslash escaped, and every byte that would not show (an invalid UTF-8 byte, a
// control character, an invisible mark) as \xNN; cut with "..." after about 40 bytes.
std::string quoted(std::string_view text);

// Prints the failure on its stream and its note on standard error, standard output flushed
// first so that the progress already printed stays in order.
void print_failure(const Failure& failure);

} // namespace kinship
