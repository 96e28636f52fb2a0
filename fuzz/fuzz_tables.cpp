// libFuzzer harness for the tables beside a pedigree: the Pedigree model's reader on the
// first part of the input, then the marriages and names table readers on the rest (split at
// the first NUL byte). Any bytes give either tables whose rows hold what the pedigree has,
// or a failure with a message, and the couples they make are each one pair of two people.

#include "fuzz_checks.h"

#include "model/marriages.h"
#include "model/names_rows.h"
#include "model/pedigree_reader.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    using namespace kinship::fuzz;
    const std::string_view input = as_text(data, size);
    const std::size_t split = std::min(input.find('\0'), input.size());
    kinship::Result<kinship::Pedigree> read =
        kinship::read_pedigree_model(input.substr(0, split), file_name);
    if (!read) {
        check(!read.failure().message.empty(), "a failure without a message");
        return 0;
    }
    kinship::Pedigree& pedigree = read.value();
    const std::string_view table = split < input.size() ? input.substr(split + 1) : "";
    const auto names = kinship::read_names_rows(table, std::string(file_name));
    check(names || names.failure().message.starts_with(file_name), "a names failure elsewhere");
    const auto marriages = kinship::read_marriages(table, std::string(file_name), pedigree);
    if (!marriages) {
        check(marriages.failure().message.starts_with(file_name), "a marriages failure elsewhere");
        return 0;
    }
    std::vector<kinship::Couple> rows;
    for (const kinship::Marriage& row : marriages.value().rows) {
        check(row.couple.husband != row.couple.wife, "someone married to themself");
        check(row.row.find('\n') == std::string::npos, "a row over two lines");
        rows.push_back(row.couple);
    }
    pedigree.set_marriages(rows);
    std::unordered_set<std::uint64_t> pairs;
    std::size_t children = 0;
    for (int c = 0; c < static_cast<int>(pedigree.couples().size()); ++c) {
        const kinship::Couple& couple = pedigree.couples()[static_cast<std::size_t>(c)];
        check(couple.husband >= 0 && couple.husband < pedigree.size() && couple.wife >= 0 &&
                  couple.wife < pedigree.size() && couple.husband != couple.wife,
              "a couple that is not two people of the pedigree");
        const auto [low, high] = std::minmax(couple.husband, couple.wife);
        check(pairs.insert((std::uint64_t(low) << 32) | std::uint32_t(high)).second,
              "a couple given twice");
        children += pedigree.couple_children(c).size();
    }
    std::size_t with_both_parents = 0;
    for (int i = 0; i < pedigree.size(); ++i) {
        with_both_parents += pedigree.father(i) >= 0 && pedigree.mother(i) >= 0;
    }
    check(children == with_both_parents, "a child of two parents in no couple, or in two");
    return 0;
}
