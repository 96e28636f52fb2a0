// The family drawing as a chart in the pedigree notation: a small family line by line, a
// genealogy with a remarriage, half-siblings, a cousin marriage, partners of different
// generations and a child with one recorded parent, and a crowded layer.

#include "family_layout/family_chart.h"
#include "family_layout/family_drawing.h"
#include "family_layout/unit_graph.h"
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

struct Segment {
    double x1, y1, x2, y2;
    ogdf::node family; // the family node or single parent the line belongs to
};

// The lines of the drawing checked against the pedigree notation: partners in one layer
// with the family node between them on the horizontal relationship line (or, where they
// stand apart, on the line that joins them below or above); every other line
// in horizontal and vertical pieces, its horizontal ones between the layers it joins,
// entering its child from above; no line through a person who is not one of its ends.
// Returns the segments, each with its family.
std::vector<Segment> check_notation(const Drawn& d)
{
    const KinshipAttributes& a = d.attributes;
    std::vector<Segment> segments;
    for (const ogdf::node v : d.graph.nodes) {
        const std::vector<ogdf::node> partners = a.is_family(v) ? partners_of(v)
                                                                 : std::vector<ogdf::node>{};
        if (partners.size() == 2) {
            EXPECT_GT(a.x(v), std::min(a.x(partners[0]), a.x(partners[1]))) << a.label(v);
            EXPECT_LT(a.x(v), std::max(a.x(partners[0]), a.x(partners[1]))) << a.label(v);
        }
    }
    for (const ogdf::edge e : d.graph.edges) {
        const ogdf::node s = e->source();
        const ogdf::node t = e->target();
        std::vector<ogdf::DPoint> route{ogdf::DPoint(a.x(s), a.y(s))};
        for (const ogdf::DPoint& p : a.bends(e)) {
            route.push_back(p);
        }
        route.emplace_back(a.x(t), a.y(t));
        const ogdf::node family = a.is_family(t) ? t : s;
        if (a.is_family(t) && a.bends(e).empty()) { // a relationship line
            EXPECT_EQ(a.y(s), a.y(t)) << a.label(s);
            for (const ogdf::node p : partners_of(t)) {
                EXPECT_EQ(a.y(p), a.y(t)) << a.label(t);
            }
        } else if (!a.is_family(t)) {
            EXPECT_EQ(route[route.size() - 2].m_x, a.x(t)) << a.label(s) << " -> " << a.label(t);
            EXPECT_LT(route[route.size() - 2].m_y, a.y(t));
        }
        for (std::size_t k = 1; k < route.size(); ++k) {
            const ogdf::DPoint& p = route[k - 1];
            const ogdf::DPoint& q = route[k];
            EXPECT_TRUE(p.m_x == q.m_x || p.m_y == q.m_y) << a.label(s) << " -> " << a.label(t);
            segments.push_back({std::min(p.m_x, q.m_x), std::min(p.m_y, q.m_y),
                                std::max(p.m_x, q.m_x), std::max(p.m_y, q.m_y), family});
            for (const ogdf::node v : d.graph.nodes) {
                if (v == s || v == t || a.is_family(v)) {
                    continue;
                }
                const bool apart = segments.back().x2 <= a.x(v) - a.width(v) / 2 ||
                                   segments.back().x1 >= a.x(v) + a.width(v) / 2 ||
                                   segments.back().y2 <= a.y(v) - a.height(v) / 2 ||
                                   segments.back().y1 >= a.y(v) + a.height(v) / 2;
                EXPECT_TRUE(apart) << a.label(s) << " -> " << a.label(t) << " through "
                                   << a.label(v);
            }
        }
    }
    return segments;
}

// Horizontal segments of different families at one height never share a stretch.
int overlapping_lines(const std::vector<Segment>& segments)
{
    int overlaps = 0;
    for (const Segment& p : segments) {
        for (const Segment& q : segments) {
            overlaps += &p < &q && p.family != q.family && p.y1 == p.y2 && q.y1 == q.y2 &&
                        p.y1 == q.y1 && std::min(p.x2, q.x2) > std::max(p.x1, q.x1);
        }
    }
    return overlaps;
}

TEST(FamilyDrawing, SmallFamilyInThePedigreeNotation)
{
    Drawn d;
    draw("5\n1 m 0 0 a b 1900 0\n2 f 0 0 a b 1900 0\n3 m 1 2 a b 1930 0\n"
         "4 f 1 2 a b 1932 0\n5 m 1 2 a b 1934 0\n", d);
    const KinshipAttributes& a = d.attributes;
    const ogdf::node family = d.by_label.at("family 1");
    const ogdf::node father = d.by_label.at("1");
    const ogdf::node mother = d.by_label.at("2");
    check_notation(d);
    // The family node on the relationship line, halfway between the partners' boxes.
    EXPECT_EQ(a.y(family), a.y(father));
    EXPECT_DOUBLE_EQ(std::abs(a.x(family) - a.x(father)), std::abs(a.x(family) - a.x(mother)));
    EXPECT_TRUE(a.bends(d.graph.searchEdge(father, family, true)).empty());
    // Down from the family node to one sibship line, then down to each child; the
    // middle child right under the node.
    std::set<double> sibship;
    for (const char* label : {"3", "4", "5"}) {
        const ogdf::node child = d.by_label.at(label);
        const ogdf::DPolyline& bends = a.bends(d.graph.searchEdge(family, child, true));
        if (a.x(child) == a.x(family)) {
            EXPECT_TRUE(bends.empty());
            continue;
        }
        ASSERT_EQ(bends.size(), 2u) << label;
        EXPECT_EQ(bends.front(), ogdf::DPoint(a.x(family), bends.front().m_y));
        EXPECT_EQ(bends.back(), ogdf::DPoint(a.x(child), bends.front().m_y));
        EXPECT_GT(bends.front().m_y, a.y(father) + 15);
        EXPECT_LT(bends.front().m_y, a.y(child) - 15);
        sibship.insert(bends.front().m_y);
    }
    EXPECT_EQ(sibship.size(), 1u);
}

// 11 remarried (children with 15 and with 16, half-siblings); first cousins 21 x 22 and
// a marriage across generations (41 x 40); a child with one recorded parent (29); a man
// with children by a mother and by her daughter (63).
TEST(FamilyDrawing, RemarriageHalfSiblingsAndSingleParentsInTheNotation)
{
    Drawn d;
    draw(pedigree_text, d);
    const KinshipAttributes& a = d.attributes;
    EXPECT_EQ(d.counts.people, 28);
    EXPECT_EQ(d.counts.couples, 12);
    EXPECT_TRUE(a.is_family(d.by_label.at("family 1")));
    EXPECT_FALSE(a.is_family(d.by_label.at("1")));
    EXPECT_EQ(overlapping_lines(check_notation(d)), 0);
    // The remarried woman stands between her two husbands, a family node on each side.
    const auto at = [&](const char* label) { return a.x(d.by_label.at(label)); };
    EXPECT_LT((at("15") - at("11")) * (at("16") - at("11")), 0);
    EXPECT_EQ(std::abs(at("15") - at("11")), 45);
    EXPECT_EQ(std::abs(at("16") - at("11")), 45);
    // The single parent's line goes down from her box.
    const ogdf::edge single = d.graph.searchEdge(d.by_label.at("25"), d.by_label.at("29"), true);
    ASSERT_NE(single, nullptr);
    const ogdf::DPolyline& bends = a.bends(single);
    EXPECT_EQ(bends.empty() ? at("29") : bends.front().m_x, at("25"));
}

// Eight couples whose children marry across the families, so that every family's
// sibship line shares the space between two layers with others.
TEST(FamilyDrawing, CrowdedLayerGivesEachSibshipLineItsOwnHeight)
{
    std::string text;
    int people = 0;
    const auto add = [&](int id, char sex, int father, int mother) {
        text += std::to_string(id) + ' ' + sex + ' ' + std::to_string(father) + ' ' +
                std::to_string(mother) + " a b 1900 0\n";
        ++people;
    };
    for (int c = 0; c < 8; ++c) {
        add(100 + c, 'm', 0, 0);
        add(200 + c, 'f', 0, 0);
        for (int k = 0; k < 4; ++k) {
            add(1000 + 10 * c + k, k % 2 ? 'f' : 'm', 100 + c, 200 + c);
        }
    }
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 4; k += 2) { // a son of c with a daughter of a family further on
            const int husband = 1000 + 10 * c + k;
            const int wife = 1000 + 10 * ((c + 3 + k) % 8) + 1 + k;
            add(5000 + 10 * c + k, 'm', husband, wife);
            add(5001 + 10 * c + k, 'f', husband, wife);
        }
    }
    Drawn d;
    draw(std::to_string(people) + "\n" + text, d);
    const std::vector<Segment> segments = check_notation(d);
    EXPECT_EQ(overlapping_lines(segments), 0);
    std::set<double> heights; // the crowded space holds sibship lines at several heights
    for (const Segment& s : segments) {
        if (s.y1 == s.y2 && d.attributes.y(s.family) < 100) {
            heights.insert(s.y1);
        }
    }
    EXPECT_GT(heights.size(), 1u);
}

// Couples as the marriages table will give them: a childless couple stands side by side
// with its family node between them and no line down; boxes of their own widths keep
// their gaps.
TEST(FamilyDrawing, ChildlessCoupleAndBoxesOfTheirOwnWidths)
{
    using namespace kinship::family;
    Families families;
    families.couples = {{0, 1, 0, {2, 3}}, {2, 4, 0, {}}};
    families.partners = {{1}, {0}, {4}, {}, {2}};
    Units units = group_partners(families);
    const std::vector<double> widths{30, 30, 80, 50, 120};
    const Chart chart = family_chart(families, units, widths);
    const auto& p = chart.person;
    EXPECT_EQ(p[2].y, p[4].y);
    EXPECT_EQ(chart.family[1].y, p[2].y);
    const double gap = std::abs(p[4].x - p[2].x) - (widths[2] + widths[4]) / 2;
    EXPECT_DOUBLE_EQ(gap, partner_gap);
    EXPECT_DOUBLE_EQ(chart.family[1].x, (p[2].x + p[4].x) / 2 + (widths[2] - widths[4]) / 4 *
                                             (p[2].x < p[4].x ? 1 : -1));
    EXPECT_TRUE(chart.father_line[1].empty() && chart.mother_line[1].empty());
    EXPECT_TRUE(chart.child_line[1].empty());
    for (int a = 2; a < 5; ++a) { // the children's layer: no two boxes overlap
        for (int b = a + 1; b < 5; ++b) {
            if (p[static_cast<std::size_t>(a)].y == p[static_cast<std::size_t>(b)].y) {
                EXPECT_GE(std::abs(p[static_cast<std::size_t>(a)].x - p[static_cast<std::size_t>(b)].x),
                          (widths[static_cast<std::size_t>(a)] + widths[static_cast<std::size_t>(b)]) / 2);
            }
        }
    }
}

// Three generations of ancestors, each person the only child of their parents, with names
// of very different widths: every couple stands over its child, both the middle between
// the partners and the family node between their names, the children's relationship lines
// stretched as far as their parents' couples stand apart.
TEST(FamilyDrawing, OnlyChildrenWhoMarryStandUnderBothTheirParents)
{
    using namespace kinship::family;
    Families families;
    families.partners.resize(15);
    std::vector<double> widths;
    for (int p = 0; p < 15; ++p) {
        widths.push_back(p % 3 == 0 ? 150.0 : 40.0);
    }
    for (int c = 0; c < 7; ++c) { // couple c: 2c x 2c + 1, whose only child is 8 + c
        families.couples.push_back({2 * c, 2 * c + 1, 0, {8 + c}});
        families.partners[static_cast<std::size_t>(2 * c)] = {2 * c + 1};
        families.partners[static_cast<std::size_t>(2 * c + 1)] = {2 * c};
    }
    Units units = group_partners(families);
    const Chart chart = family_chart(families, units, widths);
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const Family& f = families.couples[c];
        const double child = chart.person[static_cast<std::size_t>(f.children.front())].x;
        const double middle = (chart.person[static_cast<std::size_t>(f.father)].x +
                               chart.person[static_cast<std::size_t>(f.mother)].x) / 2;
        EXPECT_NEAR(middle, child, person_size / 2) << c;
        EXPECT_NEAR(chart.family[c].x, child, person_size / 2) << c;
    }
}

// A man with four wives, each with one child who married: the couples' middles in his row
// stand closer together than the children's rows can, so the row opens between the wives.
TEST(FamilyDrawing, RowOfSeveralPartnersOpensOverTheirChildren)
{
    using namespace kinship::family;
    Families families;
    families.partners.resize(13);
    std::vector<double> widths(13, 120.0);
    for (int wife = 1; wife <= 4; ++wife) { // 0 x wife have 4 + wife, who marries 8 + wife
        widths[static_cast<std::size_t>(wife)] = 40.0;
        families.couples.push_back({0, wife, 1900 + wife, {4 + wife}});
        families.couples.push_back({4 + wife, 8 + wife, 0, {}});
        families.partners[0].push_back(wife);
        families.partners[static_cast<std::size_t>(wife)] = {0};
        families.partners[static_cast<std::size_t>(4 + wife)] = {8 + wife};
        families.partners[static_cast<std::size_t>(8 + wife)] = {4 + wife};
    }
    widths[0] = 40.0;
    Units units = group_partners(families);
    const Chart chart = family_chart(families, units, widths);
    for (std::size_t c = 0; c < families.couples.size(); c += 2) {
        const Family& f = families.couples[c];
        const double middle = (chart.person[static_cast<std::size_t>(f.father)].x +
                               chart.person[static_cast<std::size_t>(f.mother)].x) / 2;
        EXPECT_NEAR(middle, chart.person[static_cast<std::size_t>(f.children.front())].x,
                    person_size / 2) << c;
    }
}

// Rows of partners leave everyone with several partners beside one of them: a woman with
// four husbands, two of them married again (a row too long for one), and a man married to
// his mother and to his son's wife (rows cut off the cycles where no one is left alone).
TEST(FamilyDrawing, EveryoneWithSeveralPartnersStandsBesideOne)
{
    using namespace kinship::family;
    const auto rows_of = [](const Families& families) {
        Units units = group_partners(families);
        break_cycles(families, units);
        for (const auto& row : units.members) {
            for (std::size_t k = 0; k < row.size(); ++k) {
                const auto& mine = families.partners[static_cast<std::size_t>(row[k])];
                const auto beside = [&](std::size_t j) { return std::ranges::count(mine, row[j]) > 0; };
                EXPECT_TRUE(mine.size() < 2 || (k > 0 && beside(k - 1)) ||
                            (k + 1 < row.size() && beside(k + 1))) << row[k];
            }
        }
        return units.members;
    };
    Families four;
    four.couples = {{3, 1, 0, {}}, {4, 1, 0, {}}, {0, 1, 0, {}}, {2, 1, 0, {}}, {4, 5, 0, {}}, {2, 6, 0, {}}};
    four.partners = {{1}, {3, 4, 0, 2}, {1, 6}, {1}, {1, 5}, {4}, {2}};
    rows_of(four);
    Families cycle; // 0 x 1 have 2; 2 x 1 have 4; 2 x 3 and 4 x 3
    cycle.couples = {{0, 1, 0, {2}}, {2, 1, 0, {4}}, {2, 3, 0, {}}, {4, 3, 0, {}}};
    cycle.partners = {{1}, {0, 2}, {1, 3}, {2, 4}, {3}};
    EXPECT_EQ(rows_of(cycle), (std::vector<std::vector<int>>{{0, 1}, {2, 3}, {4}}));
}

// A man with seven wives, two of whom married again: the wives who cannot stand beside him
// stand on both sides of his row, as many on each side give or take one, each nearer to
// him than her other husband.
TEST(FamilyDrawing, PartnersOfSomeoneWithManyStandOnBothSides)
{
    using namespace kinship::family;
    Families families;
    families.partners.resize(10);
    for (int wife = 1; wife <= 7; ++wife) {
        families.couples.push_back({0, wife, 0, {}});
        families.partners[0].push_back(wife);
        families.partners[static_cast<std::size_t>(wife)].push_back(0);
    }
    for (const auto& [wife, husband] : {std::pair{3, 8}, std::pair{6, 9}}) {
        families.couples.push_back({husband, wife, 0, {}});
        families.partners[static_cast<std::size_t>(wife)].push_back(husband);
        families.partners[static_cast<std::size_t>(husband)].push_back(wife);
    }
    const Units units = group_partners(families);
    ASSERT_EQ(units.members.size(), 1u);
    const auto& row = units.members.front();
    const auto place = [&](int p) { return std::ranges::find(row, p) - row.begin(); };
    const long left =
        std::ranges::count_if(row, [&](int p) { return p >= 1 && p <= 7 && place(p) < place(0); });
    EXPECT_LE(std::abs(2 * left - 7), 1);
    EXPECT_LT(std::abs(place(3) - place(0)), std::abs(place(8) - place(0)));
    EXPECT_LT(std::abs(place(6) - place(0)), std::abs(place(9) - place(0)));
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

// Proper crossings between horizontal and vertical segments of different couples' lines;
// with `only_of`, between that person's lines to their partners alone.
long crossings(const kinship::family::Chart& chart, const kinship::family::Families& families,
               int only_of = -1)
{
    using kinship::family::Point;
    struct Segment {
        Point a, b;
        std::size_t family;
    };
    std::vector<Segment> segments;
    const auto add = [&](Point from, const kinship::family::Route& route, Point end,
                         std::size_t f, int person = -1) {
        if (only_of >= 0 && person != only_of) {
            return;
        }
        for (const Point& to : route) {
            segments.push_back({from, to, f});
            from = to;
        }
        segments.push_back({from, end, f});
    };
    const auto at = [&](int p) { return chart.person[static_cast<std::size_t>(p)]; };
    for (std::size_t c = 0; c < families.couples.size(); ++c) {
        const auto& f = families.couples[c];
        add(at(f.father), chart.father_line[c], chart.family[c], c, f.father);
        add(at(f.mother), chart.mother_line[c], chart.family[c], c, f.mother);
        for (std::size_t k = 0; k < f.children.size(); ++k) {
            add(chart.family[c], chart.child_line[c][k], at(f.children[k]), c);
        }
    }
    long count = 0;
    for (const Segment& h : segments) {
        for (const Segment& v : segments) {
            if (h.family != v.family && h.a.y == h.b.y && v.a.x == v.b.x &&
                std::min(h.a.x, h.b.x) < v.a.x && v.a.x < std::max(h.a.x, h.b.x) &&
                std::min(v.a.y, v.b.y) < h.a.y && h.a.y < std::max(v.a.y, v.b.y)) {
                ++count;
            }
        }
    }
    return count;
}

} // namespace

// A woman with children by her first two husbands and none by the third, who cannot stand
// beside her: joined below, their lines would cross the second couple's lines of descent;
// joined above the layer (where only her parents' line comes in), they cross nothing.
TEST(FamilyDrawing, ChildlessPartnersApartAreJoinedAboveWhereFewerLinesCross)
{
    using namespace kinship::family;
    Families families;
    families.couples = {{1, 0, 1900, {4}}, {2, 0, 1905, {5, 6}}, {3, 0, 1910, {}}, {7, 8, 1880, {0}}};
    families.partners = {{1, 2, 3}, {0}, {0}, {0}, {}, {}, {}, {8}, {7}};
    Units units = group_partners(families);
    const Chart chart = family_chart(families, units, {});
    const auto& p = chart.person;
    ASSERT_GT(std::abs(p[3].x - p[0].x), std::abs(p[2].x - p[0].x)); // the third stands apart
    EXPECT_LT(chart.family[2].y, p[0].y - person_size / 2);
    EXPECT_GT(chart.family[2].y, p[7].y + person_size / 2);
    EXPECT_EQ(crossings(chart, families), 0);
    for (const Route* route : {&chart.father_line[2], &chart.mother_line[2]}) {
        for (const Point& bend : *route) { // up out of the box's top, never below it
            EXPECT_LE(bend.y, p[0].y);
        }
    }
}

// A man with children by six wives, four of whom cannot stand beside him: his lines to
// them leave his box side by side and run under one another, so none of them crosses
// another where it comes down, however the space's heights fall.
TEST(FamilyDrawing, LinesToPartnersApartLeaveTheBoxInTheOrderOfTheirHeights)
{
    using namespace kinship::family;
    Families families;
    families.partners.resize(7);
    int next = 7;
    for (int wife = 1; wife <= 6; ++wife) {
        Family f{0, wife, 1900 + wife, {}};
        for (int k = 0; k < (wife * 5) % 4 + 1; ++k) {
            f.children.push_back(next++);
        }
        families.couples.push_back(f);
        families.partners[0].push_back(wife);
        families.partners[static_cast<std::size_t>(wife)].push_back(0);
    }
    families.partners.resize(static_cast<std::size_t>(next));
    Units units = group_partners(families);
    const Chart chart = family_chart(families, units, {});
    EXPECT_EQ(crossings(chart, families, 0), 0);
}
