// Getting a pedigree file into memory.
//
// The readers parse the whole text in memory; the file itself is read once. A two-pass
// reader is defined over input it can read again from the start, so input that could not
// be rewound (a pipe, a socket, a terminal) is refused here with that reason, rather than
// being accepted and then failing with a misleading parse error.

#include "pedigree/pedigree_readers.h"
#include "pedigree/read_failure.h"

#include "common/whole_file.h"

#include <cerrno>

namespace pedigree {

Result<std::string> load_pedigree_text(const char* path, Passes passes)
{
    const std::string_view file = path;
    kinship::FileReadWording wording{
        .cannot_open = [&](int error) { return detail::open_failure(file, error); },
        // A folder is refused as one that cannot be opened.
        .cannot_read =
            [&](int error) {
                return error == EISDIR ? detail::open_failure(file, error)
                                       : detail::read_error_failure(file, error);
            },
        .not_rewindable = {}};
    if (passes == Passes::two) {
        wording.not_rewindable = [&](std::string_view kind) {
            return detail::not_rewindable_failure(file, kind);
        };
    }
    return kinship::read_whole_file(path, wording);
}

} // namespace pedigree
