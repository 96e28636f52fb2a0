#include "pedigree/text_scanner.h"

#include <gtest/gtest.h>

namespace {

using pedigree::ScanProblem;
using pedigree::TextScanner;
using pedigree::Word;

TEST(TextScanner, BlanksAbsorbAnyWhitespaceIncludingNone)
{
    TextScanner in("  -5\tm\n+3\r\f\v4 north\tsouth1 2x ");
    int id = 0, pai = 0, mae = 0, nasc = 0, morte = 0;
    char sexo = 0;
    Word cla{{}, 9}, subcla{{}, 9};
    EXPECT_FALSE(in.scan("%d %c %d %d %s %s", &id, &sexo, &pai, &mae, &cla, &subcla));
    EXPECT_EQ(id, -5);
    EXPECT_EQ(sexo, 'm');
    EXPECT_EQ(pai, 3);
    EXPECT_EQ(mae, 4);
    EXPECT_EQ(cla.text, "north");
    EXPECT_EQ(subcla.text, "south1"); // a word runs up to whitespace, digits included
    // "2x": the integer stops at the letter, and the next item starts there.
    const auto f = in.scan(" %d %d ", &nasc, &morte);
    ASSERT_TRUE(f);
    EXPECT_EQ(nasc, 2);
    EXPECT_EQ(f->item, 1u);
    EXPECT_EQ(f->problem, ScanProblem::not_an_integer);
    EXPECT_EQ(f->found, "x");
}

TEST(TextScanner, SexIsOneCharacterSoAWordBreaksTheNextNumber)
{
    TextScanner in("101 male 0 0");
    int id = 0, pai = 0;
    char sexo = 0;
    const auto f = in.scan("%d %c %d", &id, &sexo, &pai);
    ASSERT_TRUE(f);
    EXPECT_EQ(sexo, 'm');
    EXPECT_EQ(f->item, 2u);
    EXPECT_EQ(f->found, "ale");
}

TEST(TextScanner, IntegersOutsideTheIntRangeAreRefused)
{
    for (const char* ok : {"2147483647", "-2147483648", "+0", "-0000000000002147483648"}) {
        int v = 1;
        EXPECT_FALSE(TextScanner(ok).scan("%d", &v)) << ok;
    }
    for (const char* big : {"2147483648", "-2147483649", "99999999999999999999999999"}) {
        int v = 1;
        const auto f = TextScanner(big).scan("%d", &v);
        ASSERT_TRUE(f) << big;
        EXPECT_EQ(f->problem, ScanProblem::out_of_range);
        EXPECT_EQ(f->found, big);
        EXPECT_EQ(v, 1); // nothing stored
    }
    for (const char* bad : {"-", "+ 1", "- 1", "x1"}) {
        int v = 0;
        const auto f = TextScanner(bad).scan("%d", &v);
        ASSERT_TRUE(f) << bad;
        EXPECT_EQ(f->problem, ScanProblem::not_an_integer);
    }
}

TEST(TextScanner, WordsLongerThanTheirTargetAreRefusedWhole)
{
    Word w{{}, 9};
    EXPECT_FALSE(TextScanner("abcdefghi").scan("%s", &w));
    const auto f = TextScanner("abcdefghij rest").scan("%s", &w);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->problem, ScanProblem::word_too_long);
    EXPECT_EQ(f->found, "abcdefghij");
}

TEST(TextScanner, EndOfInputIsReportedAtTheMissingItem)
{
    int a = 0, b = 0;
    char c = 0;
    Word w{{}, 9};
    auto f = TextScanner("1 \n ").scan("%d %d", &a, &b);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->item, 1u);
    EXPECT_EQ(f->problem, ScanProblem::end_of_input);
    EXPECT_TRUE(TextScanner("7 ").scan("%d %c", &a, &c));
    EXPECT_TRUE(TextScanner("").scan("%s", &w));
}

} // namespace
