#pragma once

// Reading a clan pedigree file into the Pedigree model. The file is scanned with the same
// rules and messages as the digraph record's reader (file:line, whole words, the count,
// the note on text after the last record). Two things that reader lets pass are failures
// here, since every question the newer tools answer depends on them: an id that matches
// no individual, and an id carried by two individuals. A person named as their own parent
// gets no link for it, and a father and mother given as the same id make one link.

#include "common/result.h"
#include "model/pedigree.h"
#include "pedigree/pedigree_readers.h"

#include <string>
#include <string_view>

namespace kinship {

Result<Pedigree> read_pedigree_model(std::string_view text, std::string_view file,
                                     pedigree::Notes* notes = nullptr);

// Reads the file at `path` (read once, so a pipe is fine) into the model, as a command
// does: the notes on the file (text after the last record) go to standard error at once.
Result<Pedigree> load_pedigree_model(const std::string& path);

} // namespace kinship
