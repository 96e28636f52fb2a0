#include "stats/stats_tables.h"

#include "common/atomic_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <functional>

namespace kinship::stats {
namespace {

// Writes the header and each row through the atomic writer, a piece at a time.
Status write_table(const std::string& path, std::string_view header, std::size_t rows,
                   const std::function<void(std::size_t, std::string&)>& row)
{
    Result<AtomicFile> file = AtomicFile::create(path);
    if (!file) {
        return file.failure();
    }
    std::string& out = file.value().buffer();
    out += header;
    out += '\n';
    for (std::size_t r = 0; r < rows; ++r) {
        row(r, out);
        out += '\n';
        file.value().write_if_full();
    }
    return file.value().commit();
}

void field(std::string& out, std::string_view text, bool last = false)
{
    out += text;
    out += last ? "" : "\t";
}

void field(std::string& out, long long number, bool last = false)
{
    field(out, std::to_string(number), last);
}

std::string share_text(int part, int whole)
{
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.4f", whole == 0 ? 0.0 : double(part) / whole);
    return text.data();
}

std::string percent_text(int part, int whole)
{
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.1f%%", whole == 0 ? 0.0 : 100.0 * part / whole);
    return text.data();
}

std::string id_text(const Pedigree& pedigree, int i)
{
    return std::to_string(pedigree.person(i).id);
}

} // namespace

std::string f_text(double f)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), f,
                                   std::chars_format::general, 12).ptr;
    return std::string(text.data(), end);
}

Status write_tables(const Measures& m, const std::string& folder)
{
    const Pedigree& p = m.pedigree;
    const auto path = [&](const char* name) { return folder + "/" + name; };
    const auto census = relation_census(m.couples);

    Status status = write_table(
        path(table_names[0]), "id\tname\tsex\tclan\tsubclan\tgeneration\tancestors\tinbreeding",
        static_cast<std::size_t>(p.size()), [&](std::size_t r, std::string& out) {
            const int i = static_cast<int>(r);
            const Person& person = p.person(i);
            const std::string id = std::to_string(person.id);
            const auto name = m.names.find(id);
            field(out, id);
            field(out, name == m.names.end() ? std::string() : name->second);
            field(out, std::string(1, person.sex));
            field(out, person.clan);
            field(out, person.subclan);
            field(out, m.ancestry.generation[r]);
            field(out, m.ancestry.ancestors[r]);
            field(out, f_text(m.ancestry.inbreeding[r]), true);
        });
    if (status) {
        status = write_table(
            path(table_names[1]),
            std::string("father\tmother\tchildren\tkinship\trelation\tup_father\tup_mother\t"
                        "father_clan\tmother_clan") +
                (m.marriages ? "\tyear" : ""),
            m.couples.size(), [&](std::size_t r, std::string& out) {
                const MeasuredCouple& c = m.couples[r];
                const bool related = !c.relation.kin_types.empty();
                field(out, id_text(p, c.father));
                field(out, id_text(p, c.mother));
                field(out, c.children);
                field(out, f_text(c.kinship));
                field(out, c.relation.kin_types);
                field(out, related ? std::to_string(c.relation.up_husband) : std::string());
                field(out, related ? std::to_string(c.relation.up_wife) : std::string());
                field(out, p.person(c.father).clan);
                field(out, p.person(c.mother).clan, !m.marriages);
                if (m.marriages) {
                    field(out, c.year, true);
                }
            });
    }
    if (status) {
        status = write_table(path(table_names[2]), "relation\tcouples", census.size(),
                             [&](std::size_t r, std::string& out) {
                                 field(out, census[r].first);
                                 field(out, census[r].second, true);
                             });
    }
    if (status) {
        status = write_table(path(table_names[3]), "father_clan\tmother_clan\tcouples",
                             m.clans.marriages.size(), [&](std::size_t r, std::string& out) {
                                 const ClanCount& c = m.clans.marriages[r];
                                 field(out, c.father_clan);
                                 field(out, c.mother_clan);
                                 field(out, c.couples, true);
                             });
    }
    if (status) {
        status = write_table(path(table_names[4]), "clan\tcouples\tendogamous\tshare",
                             m.clans.endogamy.size(), [&](std::size_t r, std::string& out) {
                                 const Endogamy& e = m.clans.endogamy[r];
                                 field(out, e.clan);
                                 field(out, e.couples);
                                 field(out, e.endogamous);
                                 field(out, share_text(e.endogamous, e.couples), true);
                             });
    }
    return status;
}

std::string summary(const Measures& m)
{
    const Ancestry& a = m.ancestry;
    const auto n = a.generation.size();
    const auto founders = std::count(a.generation.begin(), a.generation.end(), 0);
    const int generations =
        n == 0 ? 0 : *std::max_element(a.generation.begin(), a.generation.end()) + 1;
    double total = 0;
    double largest = 0;
    std::size_t inbred = 0;
    for (const double f : a.inbreeding) {
        total += f;
        largest = std::max(largest, f);
        inbred += f > 0;
    }
    const auto related = std::count_if(m.couples.begin(), m.couples.end(), [](const MeasuredCouple& c) {
        return !c.relation.kin_types.empty();
    });
    std::string text = std::to_string(n) + " individuals, " + std::to_string(founders) +
                       " founders, " + std::to_string(generations) + " generations\n";
    std::array<char, 32> mean{};
    std::snprintf(mean.data(), mean.size(), "%.6g", n == 0 ? 0.0 : total / double(n));
    text += "inbreeding: mean F " + std::string(mean.data()) +
            ", largest " + f_text(largest) + ", " + std::to_string(inbred) + " with F > 0\n";
    const auto childless = std::count_if(m.couples.begin(), m.couples.end(),
                                         [](const MeasuredCouple& c) { return c.children == 0; });
    text += std::to_string(m.couples.size()) + " couples, ";
    if (childless > 0) {
        text += std::to_string(childless) + " without children, ";
    }
    text += std::to_string(related) +
            " related within " + std::to_string(m.degree) + " generations";
    const auto census = relation_census(m.couples);
    for (std::size_t k = 0; k < std::min<std::size_t>(5, census.size()); ++k) {
        text += (k == 0 ? ": " : ", ") + census[k].first + " " + std::to_string(census[k].second);
    }
    int couples = 0;
    int endogamous = 0;
    for (const Endogamy& e : m.clans.endogamy) {
        couples += e.couples;
        endogamous += e.endogamous;
    }
    text += "\nclan endogamy: " + percent_text(endogamous, couples) + " (" +
            std::to_string(endogamous) + " of " + std::to_string(couples) +
            " couples with both clans recorded";
    if (m.clans.without_clan > 0) {
        text += "; " + std::to_string(m.clans.without_clan) + " without a clan left out";
    }
    return text + ")";
}

} // namespace kinship::stats
