// The clan pedigree reader: a count, then one record per individual with id, sex, father,
// mother, clan, sub-clan, birth and death.

#include "pedigree/clan_record.h"

namespace pedigree {

Result<DigraphPtr> read_clan_pedigree(std::string_view text, std::string_view file,
                                      Notes* notes)
{
    return detail::read_with_parent_columns<detail::ClanRecord>(text, file, notes);
}

} // namespace pedigree

Digraph DIGRAPHcreate_with_cla(const char* path)
{
    return pedigree::detail::read_or_exit(path, pedigree::Passes::two,
                                          pedigree::read_clan_pedigree);
}
