// The clan pedigree reader: a count, then one record per individual with id, sex, father,
// mother, clan, sub-clan, birth and death.

#include "pedigree/reader_support.h"

#include <array>

namespace pedigree {

namespace {

struct ClanRecord : detail::ClanPerson {
    int pai = 0;
    int mae = 0;

    static constexpr std::array<std::string_view, 8> items = {
        "individual id", "sex",      "father id",   "mother id",
        "clan",          "sub-clan", detail::birth_item, "death value"};
    std::optional<ScanFailure> scan(TextScanner& in)
    {
        return in.scan("%d %c %d %d %s %s %d %d ", &id, &sexo, &pai, &mae, &cla, &subcla, &nasc,
                       &morte);
    }
};

} // namespace

Result<DigraphPtr> read_clan_pedigree(std::string_view text, std::string_view file,
                                      Notes* notes)
{
    return detail::read_with_parent_columns<ClanRecord>(text, file, notes);
}

} // namespace pedigree

Digraph DIGRAPHcreate_with_cla(const char* path)
{
    return pedigree::detail::read_or_exit(path, pedigree::Passes::two,
                                          pedigree::read_clan_pedigree);
}
