#include "model/parents_first.h"
#include "model/pedigree_reader.h"
#include "stats/ancestry.h"
#include "stats/couples.h"
#include "stats/stats_command.h"
#include "stats/stats_options.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace {

using namespace kinship;
using namespace kinship::stats;

// Founders have no parents; each textbook mating's child is named in the comment.
const std::vector<std::string> textbook = {
    "1 m 0 0", "2 f 0 0", "3 m 1 2", "4 f 1 2", "5 m 1 2", "6 f 0 0", "7 f 1 6", "8 f 0 0",
    "9 m 0 0", "16 f 0 0",
    "10 m 3 4",  // full siblings: 1/4
    "11 m 3 7",  // half-siblings: 1/8
    "12 m 1 4",  // father and daughter: 1/4
    "13 f 5 8", "14 m 3 13", // uncle and niece: 1/8
    "15 m 9 4", "17 f 3 16", "18 m 15 17", // first cousins: 1/16
    "20 m 0 0", "21 f 0 0", "22 m 20 21", "23 f 20 21", "24 m 0 0", "25 f 0 0", "26 m 24 25",
    "27 f 24 25", "28 m 22 27", "29 f 26 23", "30 m 28 29", // double first cousins: 1/8
    "40 m 0 0", "41 f 0 0", "42 m 40 41", "43 m 40 41", "44 f 0 0", "46 f 0 0", "45 m 42 44",
    "47 m 43 46", "48 f 0 0", "50 f 0 0", "49 m 45 48", "51 f 47 50",
    "52 m 49 51", // second cousins: 1/64
    "60 f 3 4", "61 m 10 60", "62 f 10 60", "63 m 61 62", "64 f 61 62",
    "65 m 63 64", // brother and sister, four generations in a row: 1/4, 3/8, 1/2, 19/32
};

Pedigree read(const std::vector<std::string>& rows)
{
    std::string text = std::to_string(rows.size()) + "\n";
    for (const std::string& row : rows) {
        text += row + " a b 0 0\n";
    }
    auto pedigree = read_pedigree_model(text, "ped.txt");
    EXPECT_TRUE(pedigree) << pedigree.failure().message;
    return std::move(pedigree).value();
}

Ancestry measure(const Pedigree& p, int threads = 2)
{
    const auto order = parents_first(p, "ped.txt");
    EXPECT_TRUE(order);
    return measure_ancestry(p, order.value(), threads);
}

TEST(Inbreeding, TextbookValuesWhateverTheFileOrder)
{
    const std::map<int, double> expected = {{10, 1.0 / 4}, {11, 1.0 / 8}, {12, 1.0 / 4},
                                            {14, 1.0 / 8}, {18, 1.0 / 16}, {30, 1.0 / 8},
                                            {52, 1.0 / 64}, {61, 3.0 / 8}, {63, 1.0 / 2},
                                            {65, 19.0 / 32}, {13, 0}, {1, 0}};
    std::vector<std::string> reversed(textbook.rbegin(), textbook.rend()); // parents after
    for (const auto& rows : {textbook, reversed}) {
        const Pedigree p = read(rows);
        const Ancestry a = measure(p);
        for (const auto& [id, f] : expected) {
            EXPECT_NEAR(a.inbreeding[static_cast<std::size_t>(p.find(id))], f, 1e-12) << id;
        }
        const auto at = [&](int id) { return static_cast<std::size_t>(p.find(id)); };
        EXPECT_EQ(a.generation[at(65)], 5);
        EXPECT_EQ(a.ancestors[at(65)], 10); // 63 64 61 62 10 60 3 4 1 2
        EXPECT_EQ(a.ancestors[at(14)], 6); // 3, 13, 5, 8, 1, 2
        EXPECT_EQ(a.generation[at(14)], 3);
    }
}

TEST(Relations, KinTypesOfEachTextbookCouple)
{
    const Pedigree p = read(textbook);
    std::map<std::pair<int, int>, std::string> found;
    for (const MeasuredCouple& c : find_couples(p, measure(p).couple_kinship, 3)) {
        found[{p.person(c.father).id, p.person(c.mother).id}] =
            c.relation.kin_types + " " + std::to_string(c.relation.up_husband) + "/" +
            std::to_string(c.relation.up_wife);
    }
    EXPECT_EQ(found[std::pair(3, 4)], "Z 1/1");
    EXPECT_EQ(found[std::pair(3, 7)], "FD 1/1");
    EXPECT_EQ(found[std::pair(1, 4)], "D 0/1");
    EXPECT_EQ(found[std::pair(3, 13)], "BD 1/2");
    EXPECT_EQ(found[std::pair(15, 17)], "MBD 2/2");
    EXPECT_EQ(found[std::pair(28, 29)], "FZD,MBD 2/2");
    EXPECT_EQ(found[std::pair(49, 51)], "FFBSD 3/3");
    EXPECT_EQ(found[std::pair(61, 62)], "Z 1/1");
    EXPECT_EQ(found[std::pair(1, 2)], " -1/-1");
    // Second cousins are out of reach two generations up.
    const auto near = find_couples(p, measure(p).couple_kinship, 2);
    EXPECT_TRUE(std::find_if(near.begin(), near.end(), [&](const MeasuredCouple& c) {
                    return p.person(c.father).id == 49 && c.relation.kin_types.empty();
                }) != near.end());

    const auto census = relation_census(find_couples(p, measure(p).couple_kinship, 3));
    ASSERT_GE(census.size(), 2u);
    EXPECT_EQ(census[0], (std::pair<std::string, int>("Z", 4))); // 3x4 10x60 61x62 63x64
    EXPECT_EQ(census.size(), 7u);
}

TEST(Relations, DirectLinesHalfSiblingsAndTheWifesSide)
{
    const Pedigree p = read({"1 m 0 0", "2 f 0 0", "3 m 1 2", "4 f 1 2", "5 m 0 0", "6 m 5 2",
                             "7 f 3 0", "8 f 0 2", "9 m 0 8", "10 m 1 0", "11 m 10 0",
                             "12 m 11 0", "13 f 1 0", "14 f 13 0", "15 f 14 0", "16 m 4 0"});
    const auto kin = [&](int husband, int wife) {
        const Relation r = relation_of(p, p.find(husband), p.find(wife), 3);
        return r.kin_types + " " + std::to_string(r.up_husband) + "/" + std::to_string(r.up_wife);
    };
    EXPECT_EQ(kin(3, 2), "M 1/0");     // his mother
    EXPECT_EQ(kin(1, 7), "SD 0/2");    // his son's daughter
    EXPECT_EQ(kin(6, 4), "MD 1/1");    // his half-sister through their mother
    EXPECT_EQ(kin(9, 2), "MM 2/0");    // his mother's mother
    EXPECT_EQ(kin(16, 7), "MBD 2/2");  // through the turn at the full siblings 3 and 4
    EXPECT_EQ(kin(12, 15), "FFFDDD 3/3"); // half-siblings 10 and 13 at the top: no turn
    EXPECT_EQ(kin(5, 8), " -1/-1");
}

// Kinship by its definition, on ids that increase from parents to children (0: none).
double slow_kinship(const std::vector<int>& fa, const std::vector<int>& mo, int a, int b,
                    std::map<std::pair<int, int>, double>& memo)
{
    if (a == 0 || b == 0) {
        return 0;
    }
    if (a < b) {
        std::swap(a, b);
    }
    if (const auto hit = memo.find({a, b}); hit != memo.end()) {
        return hit->second;
    }
    const auto at = [](int id) { return static_cast<std::size_t>(id); };
    const double phi = a == b ? 0.5 * (1 + slow_kinship(fa, mo, fa[at(a)], mo[at(a)], memo))
                              : 0.5 * (slow_kinship(fa, mo, fa[at(a)], b, memo) +
                                       slow_kinship(fa, mo, mo[at(a)], b, memo));
    return memo[{a, b}] = phi;
}

TEST(Inbreeding, MatchesTheDefinitionOnAGeneratedPedigree)
{
    constexpr int people = 400;
    std::mt19937 random(7);
    std::vector<int> fa(people + 1, 0), mo(people + 1, 0);
    std::vector<std::string> rows;
    for (int id = 1; id <= people; ++id) {
        // Generations of 50 (wide enough for both workers); odd ids are men; parents from
        // the generation before, now and then unrecorded.
        const auto parent = [&](int odd) {
            const int pick = (id - 1) / 50 * 50 - static_cast<int>(random() % 50);
            return id <= 50 || random() % 10 == 0 ? 0 : pick - (pick % 2 != odd);
        };
        fa[static_cast<std::size_t>(id)] = parent(1);
        mo[static_cast<std::size_t>(id)] = parent(0);
        rows.push_back(std::to_string(id) + (id % 2 ? " m " : " f ") +
                       std::to_string(fa[static_cast<std::size_t>(id)]) + " " +
                       std::to_string(mo[static_cast<std::size_t>(id)]));
    }
    std::shuffle(rows.begin(), rows.end(), random);
    const Pedigree p = read(rows);
    const Ancestry a = measure(p, 2);
    EXPECT_EQ(a.inbreeding, measure(p, 1).inbreeding); // the same to the last bit

    std::map<std::pair<int, int>, double> memo;
    std::vector<std::set<int>> ancestors(people + 1);
    int inbred = 0;
    for (int id = 1; id <= people; ++id) {
        auto& mine = ancestors[static_cast<std::size_t>(id)];
        for (const int parent :
             {fa[static_cast<std::size_t>(id)], mo[static_cast<std::size_t>(id)]}) {
            if (parent != 0) {
                mine.insert(parent);
                mine.insert(ancestors[static_cast<std::size_t>(parent)].begin(),
                            ancestors[static_cast<std::size_t>(parent)].end());
            }
        }
        const auto i = static_cast<std::size_t>(p.find(id));
        const double f = slow_kinship(fa, mo, fa[static_cast<std::size_t>(id)],
                                      mo[static_cast<std::size_t>(id)], memo);
        EXPECT_NEAR(a.inbreeding[i], f, 1e-12) << id;
        EXPECT_EQ(a.ancestors[i], static_cast<std::int64_t>(mine.size())) << id;
        inbred += f > 0;
    }
    EXPECT_GT(inbred, 50); // the check covers many related parents
}

TEST(StatsCommand, RefusesWrongCommandLinesAndNamesTables)
{
    const auto parsed = [](std::vector<std::string> args) {
        const auto options = parse_stats_options(args);
        if (options) {
            return "degree " + std::to_string(options.value().degree);
        }
        const std::string& message = options.failure().message; // the usage line, then why
        return std::to_string(options.failure().status) + message.substr(message.find('\n'));
    };
    EXPECT_EQ(parsed({"p", "o"}), "degree 3");
    EXPECT_EQ(parsed({"p", "o", "--degree", "10"}), "degree 10");
    const std::string degree = "2\n--degree takes a whole number from 1 to 10, not ";
    EXPECT_EQ(parsed({"p", "o", "--degree", "0"}), degree + "0");
    EXPECT_EQ(parsed({"p", "o", "--degree", "3x"}), degree + "3x");
    EXPECT_EQ(parsed({"p", "o", "--names"}), "2\n--names needs a value");
    EXPECT_EQ(parsed({"p"}), "2\ngive a pedigree file and an output folder");
    EXPECT_EQ(parsed({"p", "o", "-x"}), "2\nunknown option -x");
}

std::string table(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(StatsCommand, WritesTheClanTablesOfAHandWorkedPedigree)
{
    // Couples: 1x2 a-a, 3x4 a-b (two children), 5x6 b-none, 7x8 none-a, 5x2 b-a.
    const std::string text = "12\n1 m 0 0 a x 0 0\n2 f 0 0 a x 0 0\n3 m 1 2 a x 0 0\n"
                             "4 f 0 0 b y 0 0\n5 m 0 0 b y 0 0\n6 f 0 0 - - 0 0\n"
                             "7 m 0 0 - - 0 0\n8 f 3 4 a x 0 0\n9 m 3 4 a x 0 0\n"
                             "10 f 5 6 b y 0 0\n11 m 7 8 - - 0 0\n12 f 5 2 b y 0 0\n";
    const test_files::TempDir folder;
    const auto pedigree = folder.write("ped.txt", text);
    const auto names = folder.write("names.tsv", "id\tref\tname\n3\t@I3@\tJo\u00e3o da Silva\r\n");
    StatsOptions options{.pedigree_path = pedigree.string(),
                         .output_folder = (folder / "out").string(),
                         .names_path = names.string(),
                         .marriages_path = {}};
    std::ostringstream out;
    ASSERT_TRUE(run_stats(options, out));
    EXPECT_EQ(table(folder / "out/clans.tsv"),
              "father_clan\tmother_clan\tcouples\na\ta\t1\na\tb\t1\nb\ta\t1\n");
    EXPECT_EQ(table(folder / "out/endogamy.tsv"),
              "clan\tcouples\tendogamous\tshare\na\t2\t1\t0.5000\nb\t1\t0\t0.0000\n");
    EXPECT_NE(table(folder / "out/people.tsv").find("\n3\tJo\u00e3o da Silva\tm\ta\tx\t1\t2\t0\n"),
              std::string::npos);
    EXPECT_NE(table(folder / "out/couples.tsv").find("\n3\t4\t2\t0\t\t\t\ta\tb\n"),
              std::string::npos);
    EXPECT_NE(out.str().find("clan endogamy: 33.3% (1 of 3 couples with both clans recorded; "
                             "2 without a clan left out)"),
              std::string::npos)
        << out.str();

    // Someone their own ancestor: the ids on the cycle, and no tables.
    folder.write("ped.txt", "2\n1 m 2 0 a x 0 0\n2 m 1 0 a x 0 0\n");
    options.output_folder = (folder / "cycle").string();
    const Status cycle = run_stats(options, out);
    ASSERT_FALSE(cycle);
    EXPECT_NE(cycle.failure().message.find("1 -> 2 -> 1"), std::string::npos)
        << cycle.failure().message;
    EXPECT_FALSE(std::filesystem::exists(folder / "cycle"));
}

} // namespace
