// Lexical and structural rules of the GML parser.
#include <gtest/gtest.h>

#include <string>

#include "gml/gml_parser.h"

namespace kinship::gml {
namespace {

GmlList parse_ok(std::string_view text)
{
    ParseResult result = parse_gml(text);
    EXPECT_FALSE(result.error) << text << " -> " << result.error->describe();
    return std::move(result.pairs);
}

TEST(GmlParser, ReadsEveryValueFormIntoATree)
{
    const GmlList pairs = parse_ok("# comment\n  # indented [ comment\n"
                                   "directed 1 graph [\n"
                                   "  w -30.500000 Line \"a \\\"b\\\" \\\\ c\" line 1.0\n"
                                   "  node [ id -7 ] empty [ ] p [x 1.5]\n"
                                   "]\n");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(*pairs[0].value.integer(), 1);
    const GmlList& graph = *pairs[1].value.list();
    ASSERT_EQ(graph.size(), 6u);
    EXPECT_EQ(*graph[0].value.real(), -30.5);
    EXPECT_EQ(graph[1].key, "Line"); // case kept: "Line" and "line" are different keys
    EXPECT_EQ(*graph[1].value.string(), "a \"b\" \\ c");
    EXPECT_EQ(graph[2].key, "line");
    EXPECT_EQ(graph[3].line, 5u);
    EXPECT_EQ(*graph[3].value.list()->at(0).value.integer(), -7);
    EXPECT_TRUE(graph[4].value.list()->empty());
    EXPECT_EQ(*graph[5].value.list()->at(0).value.real(), 1.5); // a number may touch "]"
    EXPECT_TRUE(parse_ok(" \n\t\r\n# only a comment\n").empty());
}

TEST(GmlParser, StringEscapesAndLineJoins)
{
    // Other escapes stay as written; a backslash before a line break joins the lines,
    // which is how the writer breaks long strings.
    const GmlList pairs =
        parse_ok("s \"a\\nb\" t \"ab\\\ncd\" u \"x\\\r\ny\" v \"two\nlines\" w \"end\\\\\"");
    EXPECT_EQ(*pairs[0].value.string(), "a\\nb");
    EXPECT_EQ(*pairs[1].value.string(), "abcd");
    EXPECT_EQ(*pairs[2].value.string(), "xy");
    EXPECT_EQ(*pairs[3].value.string(), "two\nlines");
    EXPECT_EQ(*pairs[4].value.string(), "end\\");
}

TEST(GmlParser, RejectsMalformedNumbers)
{
    for (const char* text : {"a 1e5", "a 12ab", "a 1.", "a 1.5.2", "a -", "a --1", "a +1", "a .5",
                             "a 1,5", "a 1\"x\"", "a 99999999999999999999", "a 1.5e3"}) {
        EXPECT_TRUE(parse_gml(text).error) << text;
    }
}

TEST(GmlParser, RejectsStructuralFaultsWithLineAndFinding)
{
    struct Case {
        const char* text;
        std::size_t line;
        const char* finding;
    };
    const Case cases[] = {
        {"a 1\nkey", 2, "no value"},
        {"a [ b ]", 1, "key 'b' has no value, found ']'"},
        {"a b 1", 1, "key 'a' has no value, found 'b'"},
        {"a 1 2", 1, "expected a key, found '2'"},
        {"\"s\" 1", 1, "expected a key"},
        {"_a 1", 1, "expected a key, found '_a'"},
        {"a 1 # not at the line start", 1, "found '#'"},
        {"a 1\n]", 2, "without an open list"},
        {"g [\n n [\n a 1\n", 2, "not closed"}, // the innermost unclosed list
        {"g [\n n [\n a 1\n]", 1, "not closed"},
        {"# one\n\na \"x\ny\" b 1e5", 4, "'1e5'"},
        {"a \"open\n\n", 1, "not closed"},
    };
    for (const Case& c : cases) {
        const ParseResult result = parse_gml(c.text);
        ASSERT_TRUE(result.error) << c.text;
        EXPECT_EQ(result.error->line, c.line) << c.text;
        EXPECT_NE(result.error->message.find(c.finding), std::string::npos)
            << c.text << " -> " << result.error->message;
    }
}

TEST(GmlParser, BoundsNestingDepthInsteadOfOverflowing)
{
    auto nested = [](std::size_t depth) {
        std::string text;
        for (std::size_t i = 0; i < depth; ++i) {
            text += "a [ ";
        }
        return text + std::string(depth, ']');
    };
    EXPECT_FALSE(parse_gml(nested(max_list_depth)).error);
    const ParseResult deep = parse_gml(nested(1'000'000));
    ASSERT_TRUE(deep.error);
    EXPECT_NE(deep.error->message.find("nested deeper"), std::string::npos);
}

} // namespace
} // namespace kinship::gml
