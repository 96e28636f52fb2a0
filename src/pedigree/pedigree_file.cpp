// Getting a pedigree file into memory.
//
// The readers parse the whole text in memory; the file itself is read once. The two-pass
// readers have always taken only input that can be read again from the start, and
// scripts around hierarchical-layout rely on a pipe being refused, so input that cannot
// be rewound (a pipe, a socket, a terminal) is still refused here, with a message that
// says what to do. The Pedigree model's reader (kinship-select, kinship-stats,
// kinship-layout) takes a pipe.

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
