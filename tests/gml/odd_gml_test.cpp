// Styled GML files at the edges: empty and blank texts, CRLF line ends, a byte-order mark,
// NUL bytes, lists nested thousands deep, very long labels and 64-bit ids. Each reads or
// gets an error with its line and what was found there.
#include <gtest/gtest.h>

#include <string>

#include "gml/drawing_gml_writer.h"
#include "gml/example_files.h"
#include "gml/gml_parser.h"
#include "gml/kinship_gml_reader.h"

namespace kinship::gml {
namespace {

class OddGml : public ::testing::Test {
protected:
    // "read", or the error as the command shows it.
    std::string read(std::string_view text)
    {
        const auto error = read_kinship_gml_text(text, graph, attributes);
        return error ? error->describe() : "read";
    }

    ogdf::Graph graph;
    KinshipAttributes attributes{graph};
};

std::string with_crlf(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

TEST_F(OddGml, EmptyAndBlankTextsHaveNoGraph)
{
    for (const char* text : {"", " \r\n\t\n", "# only a comment\n"}) {
        EXPECT_EQ(read(text), "no top-level \"graph\" list") << text;
    }
}

TEST_F(OddGml, CrlfLineEndsAndAByteOrderMarkReadTheSame)
{
    ASSERT_EQ(read(test::two_individuals), "read");
    const std::string expected = format_drawing_gml(attributes);
    for (const std::string& text :
         {with_crlf(test::two_individuals), "\xEF\xBB\xBF" + std::string(test::two_individuals)}) {
        ASSERT_EQ(read(text), "read");
        EXPECT_EQ(format_drawing_gml(attributes), expected);
    }
    // A line break inside a string stays part of it (CR included), and a long string broken
    // with a backslash before CRLF joins up.
    ASSERT_EQ(read("graph [\r\nnode [ id 1 label \"a\\\r\nb\" template \"x\r\ny\" ]\r\n]\r\n"),
              "read");
    EXPECT_EQ(attributes.label(graph.firstNode()), "ab");
    EXPECT_EQ(attributes.templateNode(graph.firstNode()), "x\r\ny");
}

TEST_F(OddGml, NulBytesAreShownEscapedOutsideStrings)
{
    EXPECT_EQ(read(std::string("graph [\nnode [ id 1 ]\n\0x 1\n]\n", 26)),
              "line 3: expected a key, found '\\x00x'");
    EXPECT_EQ(read(std::string("graph [ node [ id \0 ] ]", 23)),
              "line 1: key 'id' has no value, found '\\x00'");
    // Inside a string a NUL is an ordinary byte of the text.
    ASSERT_EQ(read(std::string("graph [ node [ id 1 label \"a\0b\" ] ]", 35)), "read");
    EXPECT_EQ(attributes.label(graph.firstNode()), std::string("a\0b", 3));
}

TEST_F(OddGml, ListsNestedThousandsDeepAreRefusedAtTheBound)
{
    std::string deep = "graph [\n";
    for (int i = 0; i < 5000; ++i) {
        deep += "a [ ";
    }
    deep += std::string(5000, ']') + "\n]\n";
    EXPECT_EQ(read(deep), "line 2: lists nested deeper than 256 levels");

    // Within the bound, unknown nested lists are read and ignored.
    std::string within = "graph [ node [ id 1 ";
    for (std::size_t i = 0; i + 3 < max_list_depth; ++i) {
        within += "x [ ";
    }
    within += std::string(max_list_depth - 3, ']') + " ] ]";
    EXPECT_EQ(read(within), "read");
    EXPECT_EQ(graph.numberOfNodes(), 1);
}

TEST_F(OddGml, VeryLongLabelsAndTemplatesReadAndAreWrittenInShortLines)
{
    const std::string label(1 << 20, 'L');
    ASSERT_EQ(read("graph [ node [ id 1 label \"" + label + "\" template \"" + label + "\" ] ]"),
              "read");
    EXPECT_EQ(attributes.label(graph.firstNode()), label);
    const std::string drawing = format_drawing_gml(attributes);
    std::size_t longest = 0;
    for (std::size_t start = 0, end; start < drawing.size(); start = end + 1) {
        end = drawing.find('\n', start);
        longest = std::max(longest, end - start);
    }
    EXPECT_LE(longest, 220u); // the long-string form breaks every 200 characters

    // The drawing file reads back to the same label.
    ASSERT_EQ(read(drawing), "read");
    EXPECT_EQ(attributes.label(graph.firstNode()), label);
}

TEST_F(OddGml, IdsAtTheEdgesOf64Bits)
{
    EXPECT_EQ(read("graph [ node [ id -9223372036854775808 ] node [ id 9223372036854775807 ]\n"
                   "edge [ source 9223372036854775807 target -9223372036854775808 ] ]"),
              "read");
    EXPECT_EQ(graph.numberOfNodes(), 2);
    EXPECT_EQ(read("graph [ node [ id 9223372036854775808 ] ]"),
              "line 1: number out of range '9223372036854775808'");
}

} // namespace
} // namespace kinship::gml
