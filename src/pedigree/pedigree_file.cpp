// Getting a pedigree file into memory.
//
// The readers parse the whole text in memory; the file itself is read once. A two-pass
// reader is defined over input it can read again from the start, so input that could not
// be rewound (a pipe, a socket, a terminal) is refused here with that reason, rather than
// being accepted and then failing with a misleading parse error.

#include "pedigree/pedigree_readers.h"
#include "pedigree/read_failure.h"

#include "common/whole_file.h"

namespace pedigree {

Result<std::string> load_pedigree_text(const char* path, Passes passes)
{
    const std::string_view file = path;
    if (passes == Passes::one) {
        return kinship::read_whole_file(path, "the pedigree file");
    }
    return kinship::read_whole_file(path, "the pedigree file", [file](std::string_view kind) {
        return detail::not_rewindable_failure(file, kind);
    });
}

} // namespace pedigree
