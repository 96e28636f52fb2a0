#include "model/pedigree_reader.h"

#include "pedigree/clan_record.h"

#include <algorithm>
#include <utility>

namespace kinship {

namespace {

using pedigree::detail::ClanRecord;
using pedigree::detail::Place;
using pedigree::detail::UnknownId;

Place place_of(std::string_view file, const Person& person)
{
    return Place{file, person.line, "individual " + std::to_string(person.id)};
}

// The people of the records, each with the line their record starts on.
std::vector<Person> people_of(const std::vector<ClanRecord>& records, std::string_view text)
{
    std::vector<Person> people;
    people.reserve(records.size());
    std::size_t line = 1;
    std::size_t counted_to = 0;
    for (const ClanRecord& r : records) {
        line += static_cast<std::size_t>(
            std::count(text.begin() + static_cast<std::ptrdiff_t>(counted_to),
                       text.begin() + static_cast<std::ptrdiff_t>(r.start), '\n'));
        counted_to = r.start;
        people.push_back(Person{r.id, r.sexo, r.pai, r.mae, std::string(r.cla.text),
                                std::string(r.subcla.text), r.nasc, r.morte, line});
    }
    return people;
}

// Each person's father and mother index, after checking that every id is unique and
// every recorded parent is someone in the file.
Result<Pedigree> link_people(std::vector<Person> people, std::string_view file)
{
    std::unordered_map<int, int> index;
    index.reserve(people.size());
    for (std::size_t i = 0; i < people.size(); ++i) {
        const auto [it, fresh] = index.try_emplace(people[i].id, static_cast<int>(i));
        if (!fresh) {
            return pedigree::detail::duplicate_id_failure(
                place_of(file, people[i]), people[i].id,
                people[static_cast<std::size_t>(it->second)].line);
        }
    }
    const auto find = [&](int id) {
        const auto it = index.find(id);
        return it == index.end() ? Pedigree::none : it->second;
    };
    std::vector<int> father(people.size(), Pedigree::none);
    std::vector<int> mother(people.size(), Pedigree::none);
    for (std::size_t i = 0; i < people.size(); ++i) {
        const Person& p = people[i];
        std::vector<UnknownId> unknown;
        if (p.father_id != 0 && (father[i] = find(p.father_id)) == Pedigree::none) {
            unknown.push_back({"father id", p.father_id});
        }
        if (p.mother_id != 0 && (mother[i] = find(p.mother_id)) == Pedigree::none) {
            unknown.push_back({"mother id", p.mother_id});
        }
        if (!unknown.empty()) {
            return pedigree::detail::unknown_ids_failure(place_of(file, p), unknown);
        }
        const int self = static_cast<int>(i);
        if (father[i] == self) {
            father[i] = Pedigree::none;
        }
        if (mother[i] == self || mother[i] == father[i]) {
            mother[i] = Pedigree::none;
        }
    }
    return Pedigree(std::move(people), std::move(father), std::move(mother), std::move(index));
}

} // namespace

Result<Pedigree> read_pedigree_model(std::string_view text, std::string_view file,
                                     pedigree::Notes* notes)
{
    const std::string_view body = pedigree::detail::without_byte_order_mark(text);
    pedigree::TextScanner in(body);
    pedigree::detail::Count count;
    std::vector<ClanRecord> records;
    if (const Status scanned = pedigree::detail::scan_records(
            in, file, pedigree::detail::CountKind::individuals, records, count);
        !scanned) {
        return scanned.failure();
    }
    Result<Pedigree> linked = link_people(people_of(records, body), file);
    if (linked) {
        pedigree::detail::note_unread_text(in, file, "count of individuals", count, notes);
    }
    return linked;
}

Result<Pedigree> load_pedigree_model(const std::string& path)
{
    const Result<std::string> text = pedigree::load_pedigree_text(path.c_str(),
                                                                  pedigree::Passes::one);
    if (!text) {
        return text.failure();
    }
    pedigree::Notes notes;
    Result<Pedigree> read = read_pedigree_model(text.value(), path, &notes);
    pedigree::print_notes(notes);
    return read;
}

} // namespace kinship
