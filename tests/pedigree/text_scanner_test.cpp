#include "pedigree/text_scanner.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using pedigree::ScanProblem;
using pedigree::TextScanner;

TEST(TextScanner, ReadsItemsTheWayScanfDoesAndStopsAtTheFirstItemItCannot)
{
    // Any whitespace, or none, between items; leading zeros do not count towards the range.
    TextScanner in("  -0000000000002147483648\tm\n+3\r\f\vsouth1 2x");
    int id = 0, pai = 0, nasc = 0;
    char sexo = 0;
    pedigree::Word cla{{}, 9};
    EXPECT_FALSE(in.scan("%d %c %d %s", &id, &sexo, &pai, &cla));
    EXPECT_EQ(id, INT_MIN);
    EXPECT_EQ(sexo, 'm');
    EXPECT_EQ(pai, 3);
    EXPECT_EQ(cla.text, "south1"); // a word runs up to whitespace, digits included
    // "2x": the integer stops at the letter, and the next item starts there.
    auto f = in.scan(" %d %d ", &nasc, &pai);
    ASSERT_TRUE(f);
    EXPECT_EQ(nasc, 2);
    EXPECT_EQ(f->item, 1u);
    EXPECT_EQ(f->found, "x");
    // A sign must touch its digits.
    f = TextScanner("- 1").scan("%d", &nasc);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->problem, ScanProblem::not_an_integer);
}

} // namespace
