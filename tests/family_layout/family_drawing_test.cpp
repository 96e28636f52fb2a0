// The family drawing on a pedigree with the cases that shape a genealogy: couples over
// three generations, a remarriage with half-siblings, a cousin marriage, partners of
// different generations, a child with one recorded parent, and a row of partners that
// would hold a mother and her daughter.

#include "family_layout/family_drawing.h"
#include "gml/drawing_gml_writer.h"
#include "gml/kinship_gml_reader.h"
#include "model/pedigree_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using kinship::gml::KinshipAttributes;

// 21 x 22 are first cousins; 11 has children with 15 (24) and 16 (25); 41 marries 40, the
// grandson of her aunt 12; 29 has only a mother; 63 has children with 61 and with her
// daughter 62.
constexpr const char* pedigree_text = R"(28
1 m 0 0 onca alto 1900 0
2 f 0 0 tatu alto 1902 0
3 m 0 0 arara alto 1901 0
4 f 0 0 tatu baixo 1903 0
10 m 1 2 onca alto 1925 0
11 f 1 2 onca alto 1927 0
12 f 3 4 arara alto 1926 0
13 m 3 4 arara alto 1928 0
14 f 0 0 tatu alto 1930 0
15 m 0 0 tatu alto 1924 0
16 m 0 0 gaviao alto 1926 0
20 m 10 12 onca alto 1950 0
21 f 10 12 onca alto 1952 0
22 m 13 14 arara alto 1953 0
24 m 15 11 tatu alto 1950 0
25 f 16 11 gaviao alto 1955 0
27 f 0 0 tatu alto 1952 0
41 f 13 14 arara alto 1960 0
29 m 0 25 gaviao alto 1975 0
30 m 22 21 arara alto 1980 0
40 m 20 27 onca alto 1975 0
50 f 40 41 onca alto 2000 0
60 m 0 0 jabuti alto 1900 0
61 f 0 0 jabuti alto 1902 0
62 f 60 61 jabuti alto 1925 0
63 m 0 0 jabuti alto 1920 0
64 m 63 61 jabuti alto 1940 0
65 f 63 62 jabuti alto 1945 0
)";

struct Drawn {
    ogdf::Graph graph;
    KinshipAttributes attributes{graph};
    kinship::family::DrawingCounts counts;
    std::map<std::string, ogdf::node> by_label;
};

void draw(const std::string& text, Drawn& drawn)
{
    const auto pedigree = kinship::read_pedigree_model(text, "test.txt");
    ASSERT_TRUE(pedigree) << pedigree.failure().message;
    drawn.counts = kinship::family::draw_families(pedigree.value(), drawn.graph, drawn.attributes);
    for (const ogdf::node v : drawn.graph.nodes) {
        drawn.by_label[drawn.attributes.label(v)] = v;
    }
}

std::vector<ogdf::node> partners_of(const ogdf::node family)
{
    std::vector<ogdf::node> partners;
    for (const ogdf::adjEntry adj : family->adjEntries) {
        if (adj->theEdge()->target() == family) {
            partners.push_back(adj->theEdge()->source());
        }
    }
    return partners;
}

TEST(FamilyDrawing, CouplesSideBySideChildrenUnderThemAndNoOverlaps)
{
    Drawn d;
    draw(pedigree_text, d);
    const KinshipAttributes& a = d.attributes;
    EXPECT_EQ(d.counts.people, 28);
    EXPECT_EQ(d.counts.couples, 12);
    EXPECT_EQ(d.graph.numberOfNodes(), 28 + 12);
    EXPECT_TRUE(a.is_family(d.by_label.at("family 1")));
    EXPECT_FALSE(a.is_family(d.by_label.at("1")));

    // People who stand side by side in a layer: no other person between them.
    std::map<double, std::vector<ogdf::node>> layers;
    for (const ogdf::node v : d.graph.nodes) {
        if (!a.is_family(v)) {
            layers[a.y(v)].push_back(v);
        }
    }
    std::set<std::pair<ogdf::node, ogdf::node>> beside;
    for (auto& [y, row] : layers) {
        std::ranges::sort(row, {}, [&a](ogdf::node v) { return a.x(v); });
        for (std::size_t k = 1; k < row.size(); ++k) {
            EXPECT_GE(a.x(row[k]) - a.x(row[k - 1]), kinship::family::person_size)
                << a.label(row[k - 1]) << " overlaps " << a.label(row[k]);
            beside.insert({row[k - 1], row[k]});
            beside.insert({row[k], row[k - 1]});
        }
    }
    for (const ogdf::node v : d.graph.nodes) {
        if (!a.is_family(v)) {
            continue;
        }
        const auto partners = partners_of(v);
        ASSERT_EQ(partners.size(), 2u) << a.label(v);
        // Every couple here stands side by side but 63 and 61: her daughter 62 cannot
        // stand in her row, so 63 stands with 62, a generation below 61.
        if (a.label(partners[0]) != "63" || a.label(partners[1]) != "61") {
            EXPECT_EQ(a.y(partners[0]), a.y(partners[1])) << a.label(v);
            EXPECT_TRUE(beside.contains({partners[0], partners[1]}))
                << a.label(partners[0]) << " and " << a.label(partners[1]);
        }
        for (const ogdf::adjEntry adj : v->adjEntries) {
            const ogdf::node child = adj->theEdge()->target();
            if (child != v) { // parents, family node and children a layer apart each
                for (const ogdf::node partner : partners) {
                    EXPECT_GE(a.y(v) - a.y(partner), 20 + (30 + 8) / 2.0) << a.label(v);
                }
                EXPECT_GE(a.y(child) - a.y(v), 20 + (30 + 8) / 2.0) << a.label(v);
            }
        }
    }
    // A child with one recorded parent hangs from that parent.
    const ogdf::edge single = d.graph.searchEdge(d.by_label.at("25"), d.by_label.at("29"), true);
    ASSERT_NE(single, nullptr);
    EXPECT_GE(a.y(d.by_label.at("29")) - a.y(d.by_label.at("25")), 20 + 30);
    // The woman with two husbands stands next to both.
    EXPECT_TRUE(beside.contains({d.by_label.at("11"), d.by_label.at("15")}));
    EXPECT_TRUE(beside.contains({d.by_label.at("11"), d.by_label.at("16")}));
}

TEST(FamilyDrawing, SameBytesEveryRunAndReadsBackWithItsFamilyNodes)
{
    Drawn first, second;
    draw(pedigree_text, first);
    draw(pedigree_text, second);
    const std::string text = kinship::gml::format_drawing_gml(first.attributes);
    EXPECT_EQ(text, kinship::gml::format_drawing_gml(second.attributes));

    ogdf::Graph graph;
    KinshipAttributes read(graph);
    read.addAttributes(ogdf::GraphAttributes::edgeArrow);
    ASSERT_TRUE(kinship::gml::read_kinship_gml_text(text, "drawing.gml", graph, read));
    int families = 0;
    for (const ogdf::edge e : graph.edges) {
        const bool into_family = read.is_family(e->target());
        EXPECT_EQ(read.arrowType(e),
                  into_family ? ogdf::EdgeArrow::None : ogdf::EdgeArrow::Last);
    }
    for (const ogdf::node v : graph.nodes) {
        families += read.is_family(v);
    }
    EXPECT_EQ(families, 12);
    EXPECT_EQ(kinship::gml::format_drawing_gml(read), text);
}

} // namespace
