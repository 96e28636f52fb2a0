// Text cleaned for the picture, and labels fitted to their room.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/xml_text.h"
#include "draw/label_layout.h"

namespace kinship::draw {
namespace {

TEST(XmlText, KeepsUtf8ReadsTheRestAsLatin1AndDropsWhatXmlForbids)
{
    // Overlong forms, surrogates, code points past U+10FFFF and cut sequences are not UTF-8.
    const std::pair<std::string, std::string> texts[] = {
        {"on\u00E7a \U0001F406\t<&", "on\u00E7a \U0001F406\t<&"},
        {"on\347a", "on\u00E7a"},
        {"\300\257", "\u00C0\u00AF"},
        {"\355\240\200", "\u00ED\u00A0\xC2\x80"},
        {"\364\220\200\200", "\u00F4\xC2\x90\xC2\x80\xC2\x80"},
        {"x\342\202", "x\u00E2\xC2\x82"},
        {"a\001\037\n\uFFFF\uFFFEb", "a\nb"},
        {"\001\351", "\u00E9"},
    };
    for (const auto& [bytes, text] : texts) {
        EXPECT_EQ(text::xml_text(bytes), text) << bytes;
        EXPECT_EQ(text::xml_text(text), text) << text;
    }
}

TEST(LabelLayout, LabelsStayWithinTheRoomTheirNeighboursLeave)
{
    // Shapes 30 wide; nodes 45 apart leave 41 for a label. A node 20 below leaves one
    // line. Names: whole, given names then surname, initials, cut (wide CJK characters).
    struct Row { double x, y; std::string id, name; std::vector<std::string> shown; double size; };
    const Row rows[] = {
        {0, 35, "19000101", "", {"19000101"}, 8.0}, // ids side by side shrink
        {45, 35, "19000102", "", {"\u2026102"}, 5.0},
        {65, 35, "1234567890123", "", {"\u2026123"}, 5.0}, // or are cut when that is not enough
        {0, 300, "5", "Maria da Concei\u00E7\u00E3o Silva", {"Maria C.", "Silva"}, 12.0},
        {90, 300, "6", "Ana  Lima", {"Ana Lima"}, 12.0},
        {180, 300, "7", "Jo\u00E3o dos Santos", {"J. Santos"}, 12.0},
        {180, 350, "11", "", {"11"}, 10.0},
        {300, 250, "8", "\u611B\u65B0\u89BA\u7F85\u6EA5\u5100", {"\u611B\u65B0\u2026"}, 12.0},
        {345, 250, "10", "", {"10"}, 10.0},
    };
    ogdf::Graph graph;
    gml::KinshipAttributes attributes(graph);
    NamesTable names;
    for (const Row& row : rows) {
        const ogdf::node v = graph.newNode();
        std::tie(attributes.x(v), attributes.y(v), attributes.label(v)) =
            std::tie(row.x, row.y, row.id);
        attributes.width(v) = attributes.height(v) = 30.0;
        names[row.id] = row.name;
    }
    const std::vector<NodeLabel> labels = lay_out_labels(attributes, names);
    ASSERT_EQ(labels.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(labels[i].lines, rows[i].shown) << rows[i].id;
        EXPECT_EQ(labels[i].font_size, rows[i].size) << rows[i].id;
    }
}

TEST(TextMeasure, NameWidthIsTheLeastRoomThatShowsTheNameWhole)
{
    const std::vector<std::vector<std::string>> names = {
        {"Ana"}, {"Ana", "Lima"}, {"Maria da Concei\u00E7\u00E3o", "Albuquerque"},
        {"\u611B\u65B0\u89BA\u7F85"}};
    for (const std::vector<std::string>& lines : names) {
        const std::string name = lines.size() == 1 ? lines[0] : lines[0] + "  " + lines[1];
        const double width = text::name_width(name, name_font_size);
        EXPECT_EQ(text::fit_name(name, width, name_font_size, 2), lines) << name;
        EXPECT_NE(text::fit_name(name, width - 0.1, name_font_size, 2), lines) << name;
    }
}

} // namespace
} // namespace kinship::draw
