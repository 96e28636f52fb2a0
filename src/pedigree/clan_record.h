#pragma once

// One record of the clan pedigree layout as it stands in the file: id, sex, father,
// mother, clan, sub-clan, birth and death. Both the digraph record's reader and the
// Pedigree model's reader scan the file with it, so the two accept the same files with the
// same messages.

#include "pedigree/reader_support.h"

#include <array>
#include <optional>
#include <string_view>

namespace pedigree::detail {

struct ClanRecord : ClanPerson {
    int pai = 0;
    int mae = 0;

    static constexpr std::array<std::string_view, 8> items = {
        "individual id", "sex",      "father id",   "mother id",
        "clan",          "sub-clan", birth_item, "death value"};
    std::optional<ScanFailure> scan(TextScanner& in)
    {
        return in.scan("%d %c %d %d %s %s %d %d ", &id, &sexo, &pai, &mae, &cla, &subcla, &nasc,
                       &morte);
    }
};

} // namespace pedigree::detail
