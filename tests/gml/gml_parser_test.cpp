// Lexical and structural rules of the GML parser, and the real form every writer uses.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale>
#include <random>
#include <vector>

#include "common/gml_text.h"
#include "gml/gml_parser.h"

namespace kinship::gml {
namespace {

using namespace std::string_view_literals;

// A tree in one line: key=value, strings in '', lists in [], reals as written.
std::string shape(const GmlList& list)
{
    std::string out;
    for (const GmlPair& pair : list) {
        out.append(out.empty() ? "" : " ").append(pair.key()) += '=';
        if (const auto integer = pair.value.integer()) {
            out += std::to_string(*integer);
        } else if (const auto real = pair.value.real()) {
            out += real_text(*real);
        } else if (const auto string = pair.value.string()) {
            out.append("'").append(*string).append("'");
        } else {
            out.append("[").append(shape(pair.value.list())).append("]");
        }
    }
    return out;
}

// The tree read, or the failure with its line.
std::string outcome(std::string_view text)
{
    const Result<GmlDocument> result = parse_gml(text, "t.gml");
    return result ? shape(result.value().pairs()) : "error " + result.failure().message;
}

TEST(GmlParser, ReadsWellFormedTextsAndRefusesOthersWithLineAndFinding)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {" \n\t\r\n# only a comment\n", ""},
        {"# comment\n  # indented [ comment\ndirected 1", "directed=1"},
        {"\xEF\xBB\xBFgraph [\r\n  node [ id -7 ]\r\n]\r\n", "graph=[node=[id=-7]]"},
        {"w -30.500000 p [x 1.5]e [ ]", "w=-30.50000000 p=[x=1.500000000] e=[]"},
        // The whole real form: a sign, a bare point, an exponent with or without a point.
        {"a 1.5e+10 b -2. c 7E3 d +5 e -5.555555556e-28 f 1.797693134e308",
         "a=1.500000000e+10 b=-2.000000000 c=7000.000000 d=5 e=-5.555555556e-28 "
         "f=1.797693134e+308"},
        {"a -9223372036854775808 b 9223372036854775807",
         "a=-9223372036854775808 b=9223372036854775807"},
        {"Line 1 line 2 k_9 3", "Line=1 line=2 k_9=3"}, // keys keep their case
        // \" and \\ are escapes, others stay as written; a backslash before a line break
        // (LF or CRLF) joins the lines, which is how the writer breaks long strings.
        {R"(s "a \"b\" \\ c\n")", R"(s='a "b" \ c\n')"},
        {"s \"ab\\\ncd\" t \"x\\\r\ny\" u \"two\r\nlines\" v \"end\\\\\"",
         "s='abcd' t='xy' u='two\r\nlines' v='end\\'"},
        {"s \"a\0b\" t \"#x\""sv, "s='a\0b' t='#x'"sv}, // a NUL is an ordinary string byte
        {"a 1.5e+", "error t.gml:1: malformed number \"1.5e+\""},
        {"a 1.e5x", "error t.gml:1: malformed number \"1.e5x\""},
        {"a -", "error t.gml:1: malformed number \"-\""},
        {"a .5", "error t.gml:1: key \"a\" has no value, found \".5\""},
        {"a 1\"x\"", "error t.gml:1: malformed number \"1\\\"x\\\"\""},
        {"a 9223372036854775808", "error t.gml:1: number out of range \"9223372036854775808\""},
        {"a 1e400", "error t.gml:1: number out of range \"1e400\""},
        // Beyond the largest real that reads back once written.
        {"a -1.797693135e308", "error t.gml:1: number out of range \"-1.797693135e308\""},
        {"y -NaN", "error t.gml:1: key \"y\" has the value \"-NaN\", which is not a finite number"},
        {"a 1\nkey", "error t.gml:2: key \"key\" has no value, found the end of the text"},
        {"a [ b ]", "error t.gml:1: key \"b\" has no value, found \"]\""},
        {"a b 1", "error t.gml:1: key \"a\" has no value, found \"b\""},
        {"a 1 2", "error t.gml:1: expected a key, found \"2\""},
        {"_a 1", "error t.gml:1: expected a key, found \"_a\""},
        {"a 1 # not at the line start", "error t.gml:1: expected a key, found \"#\""},
        {"a 1\n]", "error t.gml:2: \"]\" without an open list"},
        {"g [\n n [\n a 1\n", "error t.gml:2: list opened on this line is not closed"},
        {"g [\n n [\n a 1\n]", "error t.gml:1: list opened on this line is not closed"},
        {"# one\n\na \"x\ny\" b 1e", "error t.gml:4: malformed number \"1e\""},
        {"a \"open\n\n", "error t.gml:1: string opened on this line is not closed"},
        // Bytes that would not show are written escaped.
        {"a 1\n\0x\x1f 1"sv, "error t.gml:2: expected a key, found \"\\x00x\\x1f\""},
        {"a \x7f"sv, "error t.gml:1: key \"a\" has no value, found \"\\x7f\""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(outcome(text), expected) << text;
    }
}

TEST(GmlParser, BoundsNestingDepthInsteadOfOverflowing)
{
    for (const std::size_t depth : {max_list_depth, max_list_depth + 1, std::size_t{1'000'000}}) {
        std::string text = "\n";
        for (std::size_t i = 0; i < depth; ++i) {
            text += "a [ ";
        }
        EXPECT_EQ(message_of(parse_gml(text + std::string(depth, ']'), "t.gml")),
                  depth == max_list_depth ? "" : "t.gml:2: lists nested deeper than 256 levels");
    }
}

// Every real we write parses back to one written the same, with the point and exponent
// of "%#.10g", whatever the process's locale says about decimal points: a comma-decimal
// C locale where one is installed, and always a comma-decimal global C++ locale.
TEST(GmlText, EveryRealWeWriteParsesBack)
{
    struct CommaDecimal : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale saved = std::locale::global(std::locale(std::locale(), new CommaDecimal));
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            break;
        }
    }
    EXPECT_EQ(real_text(30) + real_text(-0.5), "30.00000000-0.5000000000");
    for (const double value : {0.0, -7.5, 1e-4, 1e-5, 9999999999.0, 9999999999.5, 1585488512.0,
                               5.555555556e28, 123.456789012345, 5e-324, -largest_real}) {
        EXPECT_EQ(outcome("x " + real_text(value)), "x=" + real_text(value));
    }
    std::setlocale(LC_ALL, "C");
    std::locale::global(saved);
}

// Reals come out as "%#.10g" writes them in the C locale: exact halves rounded to even,
// and a carry into an eleventh digit moving the point or switching to the exponent form.
TEST(GmlText, RealsAreWrittenAsPrintfWritesThem)
{
    std::vector<double> values{1.0,          2.5,          1577.5390625, 123456789.25,
                               123456789.75, 1234567890.5, 1234567891.5, 999999999.96875,
                               9.99999999995, 99999.999995, 1e9,         -30.0,
                               0.5};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> any(-1e5, 1e5);
    for (int i = 0; i < 20000; ++i) {
        const auto scaled = static_cast<double>(random() % 20'000'000'000);
        values.push_back(std::ldexp(i % 2 == 0 ? scaled : -scaled, -static_cast<int>(i % 14)));
        values.push_back(any(random));
    }
    for (const double value : values) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%#.10g", value);
        ASSERT_EQ(real_text(value), expected) << value;
    }
}

// Strings: \ and " escaped, CR, LF and tab dropped, and a backslash + line feed once 200
// characters (the opening quote and escapes as two included) have gone out since the last.
TEST(GmlText, StringsEscapeDropControlsAndBreakAt200)
{
    const auto written = [](std::string_view text) {
        std::string out;
        append_string(out, text);
        return out;
    };
    const std::string x198(198, 'x'), x199(199, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"a\\b\"c\r\n\td", "\"a\\\\b\\\"cd\""},
        {x198, "\"" + x198 + "\""},
        {x199 + "yz", "\"" + x199 + "\\\nyz\""},
        {std::string(399, 'x') + "y", "\"" + x199 + "\\\n" + std::string(200, 'x') + "\\\ny\""},
        {x198 + "\"z", "\"" + x198 + "\\\"\\\nz\""}, // an escape passing 200 breaks after it
        {x198.substr(99) + std::string(50, '\n') + x198.substr(99), "\"" + x198 + "\""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(written(text), expected);
    }
}

} // namespace
} // namespace kinship::gml
