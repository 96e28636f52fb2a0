// The four-column pedigree reader: a count, then one record per individual with id,
// father, mother and sex. Clan, sub-clan, birth and death are not in this layout.

#include "pedigree/reader_support.h"

#include <array>

namespace pedigree {

namespace {

struct FourColumnRecord : detail::IdAndSex {
    int pai = 0;
    int mae = 0;

    static constexpr std::array<std::string_view, 4> items = {"individual id", "father id",
                                                              "mother id", "sex"};
    std::optional<ScanFailure> scan(TextScanner& in)
    {
        return in.scan("%d %d %d %c ", &id, &pai, &mae, &sexo);
    }
};

} // namespace

Result<DigraphPtr> read_four_column_pedigree(std::string_view text, std::string_view file,
                                             Notes* notes)
{
    return detail::read_with_parent_columns<FourColumnRecord>(text, file, notes);
}

} // namespace pedigree

Digraph DIGRAPHcreate(const char* path)
{
    return pedigree::detail::read_or_exit(path, pedigree::Passes::two,
                                          pedigree::read_four_column_pedigree);
}
