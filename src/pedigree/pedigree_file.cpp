// Getting a pedigree file into memory, and ending the process on a failed read.
//
// The readers parse the whole text in memory; the file itself is read once. A two-pass
// reader is defined over input it can read again from the start, so input that could not
// be rewound (a pipe, a socket, a terminal) is refused here with that reason, rather than
// being accepted and then failing with a misleading parse error.

#include "pedigree/pedigree_readers.h"
#include "pedigree/read_failure.h"

#include "common/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace pedigree {

std::variant<std::string, ReadFailure> load_pedigree_text(const char* path, Passes passes)
{
    const std::string_view file = path;
    // The failure in the reader's own wording; the common reader only passes it on.
    std::optional<ReadFailure> failure;
    const auto keep = [&failure](ReadFailure f) {
        failure = std::move(f);
        return kinship::Failure{failure->message};
    };
    kinship::FileReadWording wording{
        .cannot_open = [&](int error) { return keep(detail::open_failure(file, error)); },
        // A folder is refused as one that cannot be opened.
        .cannot_read =
            [&](int error) {
                return keep(error == EISDIR ? detail::open_failure(file, error)
                                            : detail::read_error_failure(file, error));
            },
        .not_rewindable = {}};
    if (passes == Passes::two) {
        wording.not_rewindable = [&](std::string_view kind) {
            return keep(detail::not_rewindable_failure(file, kind));
        };
    }
    kinship::Result<std::string> text = kinship::read_whole_file(path, wording);
    if (!text) {
        return std::move(*failure);
    }
    return std::move(text).value();
}

void exit_with(const ReadFailure& failure)
{
    if (failure.on_stdout) {
        std::printf("%s\n", failure.message.c_str());
        std::fflush(stdout);
    } else {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", failure.message.c_str());
    }
    std::exit(failure.exit_status());
}

} // namespace pedigree
