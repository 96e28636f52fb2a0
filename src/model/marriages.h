#pragma once

// The marriages table beside a pedigree (PEDIGREE.marriages.tsv): a header line, then one
// row per couple, husband<TAB>wife<TAB>year<TAB>cross-reference. The importer writes one
// row per family record that names both partners; a researcher may type one for field
// data. The couples it records join the Pedigree model's couples (Pedigree::set_marriages).

#include "common/result.h"
#include "model/pedigree.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kinship {

// One row: the couple (indices into the pedigree) and the row as written, which
// kinship-select copies.
struct Marriage {
    Couple couple;
    std::string row;
};

struct MarriagesTable {
    std::string header;
    std::vector<Marriage> rows; // in file order, a couple given twice twice
};

// Reads the table for `pedigree`. Line ends may be LF or CRLF; blank lines are skipped; a
// year may be empty for unknown (as 0). A row that is not four fields, whose ids are not
// whole numbers or are no individual's, that marries someone to themself, or whose year is
// not a whole number fails with status 1 and "PATH:LINE: what is wrong".
Result<MarriagesTable> read_marriages(std::string_view text, const std::string& path,
                                      const Pedigree& pedigree);

// The table in the file at `path`; a file that cannot be read fails with
// "PATH: cannot open the marriages table: reason".
Result<MarriagesTable> load_marriages(const std::string& path, const Pedigree& pedigree);

// Loads the table at `path` into `pedigree`'s couples.
Status add_marriages(const std::string& path, Pedigree& pedigree);

// The pedigree file at `pedigree_path` (as load_pedigree_model reads it), with the
// marriages table at `marriages_path`, when given, added to its couples.
Result<Pedigree> load_pedigree_with_marriages(const std::string& pedigree_path,
                                              const std::optional<std::string>& marriages_path);

} // namespace kinship
