// Lexical and structural rules of the GML parser.
#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "gml/gml_parser.h"

namespace kinship::gml {
namespace {

using namespace std::string_view_literals;

// A tree in one line: key=value, strings in '', lists in [], reals always with a point.
std::string shape(const GmlList& list)
{
    std::string out;
    for (const GmlPair& pair : list) {
        out += out.empty() ? "" : " ";
        out += pair.key + '=';
        if (const auto* integer = pair.value.integer()) {
            out += std::to_string(*integer);
        } else if (const auto* real = pair.value.real()) {
            char buffer[32];
            const std::string text(buffer, std::to_chars(buffer, buffer + 32, *real).ptr);
            out += text.find('.') == std::string::npos ? text + ".0" : text;
        } else if (const auto* string = pair.value.string()) {
            out.append("'").append(*string).append("'");
        } else {
            out.append("[").append(shape(*pair.value.list())).append("]");
        }
    }
    return out;
}

TEST(GmlParser, ReadsWellFormedTexts)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {" \n\t\r\n# only a comment\n", ""},
        {"# comment\n  # indented [ comment\ndirected 1", "directed=1"},
        {"\xEF\xBB\xBFgraph [\r\n  node [ id -7 ]\r\n]\r\n", "graph=[node=[id=-7]]"},
        {"w -30.500000 x 1.0 p [x 1.5]e [ ]", "w=-30.5 x=1.0 p=[x=1.5] e=[]"},
        {"a -9223372036854775808 b 9223372036854775807",
         "a=-9223372036854775808 b=9223372036854775807"},
        {"Line 1 line 2 k_9 3", "Line=1 line=2 k_9=3"}, // keys keep their case
        // \" and \\ are escapes, others stay as written; a backslash before a line break
        // (LF or CRLF) joins the lines, which is how the writer breaks long strings.
        {R"(s "a \"b\" \\ c\n")", R"(s='a "b" \ c\n')"},
        {"s \"ab\\\ncd\" t \"x\\\r\ny\" u \"two\r\nlines\" v \"end\\\\\"",
         "s='abcd' t='xy' u='two\r\nlines' v='end\\'"},
        {"s \"a\0b\" t \"#x\""sv, "s='a\0b' t='#x'"sv}, // a NUL is an ordinary string byte
    };
    for (const auto& [text, expected] : cases) {
        const ParseResult result = parse_gml(text);
        ASSERT_FALSE(result.error) << text << " -> " << result.error->describe();
        EXPECT_EQ(shape(result.pairs), expected) << text;
    }
}

TEST(GmlParser, RefusesMalformedTextsWithLineAndFinding)
{
    const std::tuple<std::string_view, std::size_t, std::string_view> cases[] = {
        {"a 1e5", 1, "malformed number '1e5'"},
        {"a 12ab", 1, "malformed number '12ab'"},
        {"a 1.", 1, "'1.'"},
        {"a -", 1, "'-'"},
        {"a .5", 1, "key 'a' has no value, found '.5'"},
        {"a 1\"x\"", 1, "'1\"x\"'"},
        {"a 9223372036854775808", 1, "number out of range"},
        {"a 1\nkey", 2, "key 'key' has no value, found the end of the text"},
        {"a [ b ]", 1, "key 'b' has no value, found ']'"},
        {"a b 1", 1, "key 'a' has no value, found 'b'"},
        {"a 1 2", 1, "expected a key, found '2'"},
        {"_a 1", 1, "expected a key, found '_a'"},
        {"a 1 # not at the line start", 1, "expected a key, found '#'"},
        {"a 1\n]", 2, "']' without an open list"},
        {"g [\n n [\n a 1\n", 2, "list opened on this line is not closed"}, // the innermost
        {"g [\n n [\n a 1\n]", 1, "list opened on this line is not closed"},
        {"# one\n\na \"x\ny\" b 1e5", 4, "'1e5'"},
        {"a \"open\n\n", 1, "string opened on this line is not closed"},
        // Bytes that would not show are written escaped.
        {"a 1\n\0x\x1f 1"sv, 2, "expected a key, found '\\x00x\\x1f'"},
        {"a \x7f"sv, 1, "key 'a' has no value, found '\\x7f'"},
    };
    for (const auto& [text, line, finding] : cases) {
        const ParseResult result = parse_gml(text);
        ASSERT_TRUE(result.error) << text;
        EXPECT_EQ(result.error->line, line) << text;
        EXPECT_NE(result.error->message.find(finding), std::string::npos)
            << text << " -> " << result.error->message;
        EXPECT_TRUE(result.pairs.empty()) << text;
    }
}

TEST(GmlParser, BoundsNestingDepthInsteadOfOverflowing)
{
    for (const std::size_t depth : {max_list_depth, max_list_depth + 1, std::size_t{1'000'000}}) {
        std::string text = "\n";
        for (std::size_t i = 0; i < depth; ++i) {
            text += "a [ ";
        }
        const auto error = parse_gml(text + std::string(depth, ']')).error;
        EXPECT_EQ(error ? error->describe() : "",
                  depth == max_list_depth ? "" : "line 2: lists nested deeper than 256 levels");
    }
}

} // namespace
} // namespace kinship::gml
