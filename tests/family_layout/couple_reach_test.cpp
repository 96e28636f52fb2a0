// Couples brought over their children after placement: a partner steps aside along the
// relationship line, or the children's rows come nearer, but only where more families then
// stand over their children.

#include "family_layout/couple_reach.h"

#include <gtest/gtest.h>

namespace {

using namespace kinship::family;

constexpr double box = 30;
const ReachSettings settings{20, 10, box / 2};

// People in rows, one layer per list of rows, each row's people at the given centres.
struct Layout {
    Families families;
    Units units;
    PlacedLayers placed;
    std::vector<double> x;

    Layout(std::vector<std::vector<std::vector<std::pair<int, double>>>> layers,
           std::vector<Family> couples)
    {
        families.couples = std::move(couples);
        for (const auto& layer : layers) {
            auto& items = placed.layers.emplace_back();
            for (const auto& row : layer) {
                items.push_back(static_cast<int>(units.members.size()));
                auto& members = units.members.emplace_back();
                for (const auto& [person, at] : row) {
                    members.push_back(person);
                    if (units.unit_of.size() <= static_cast<std::size_t>(person)) {
                        units.unit_of.resize(static_cast<std::size_t>(person) + 1);
                        x.resize(units.unit_of.size());
                    }
                    units.unit_of[static_cast<std::size_t>(person)] = items.back();
                    x[static_cast<std::size_t>(person)] = at;
                }
                placed.x.push_back(0);
                placed.width.push_back(0);
            }
        }
        families.partners.resize(x.size());
        for (const Family& f : families.couples) {
            families.partners[static_cast<std::size_t>(f.father)].push_back(f.mother);
            families.partners[static_cast<std::size_t>(f.mother)].push_back(f.father);
        }
    }

    std::vector<double> reached() const
    {
        std::vector<double> moved = x;
        reach_children(families, units, placed, [](int) { return box; }, settings, moved);
        return moved;
    }
};

bool over(const std::vector<double>& x, int a, int b, double lo, double hi)
{
    const double middle = (x[static_cast<std::size_t>(a)] + x[static_cast<std::size_t>(b)]) / 2;
    return lo - box / 2 <= middle && middle <= hi + box / 2;
}

TEST(CoupleReach, PartnerStepsAsideOrChildrenComeNearerWhereMoreFamiliesGain)
{
    // Father 0 and mother 1 side by side (middle 22.5), their child 2 at 100; a row of its
    // own (3) stands just right of the mother, in the way. The chart reaches to 9 at 400:
    // moves stay within it.
    const Layout plain({{{{0, 0.0}, {1, 45.0}}, {{3, 110.0}}}, {{{2, 100.0}}, {{9, 400.0}}}},
                       {{0, 1, 0, {2}}});
    const auto stepped = plain.reached();
    EXPECT_EQ(stepped[0], 0.0);
    EXPECT_EQ(stepped[2], 100.0);
    EXPECT_TRUE(over(stepped, 0, 1, 100, 100)) << "mother at " << stepped[1];
    EXPECT_GE(stepped[3] - stepped[1], box + settings.box_gap) << "the row in the way pushed";

    // Without 9 the mother would step out of the chart, which would grow wider: the child
    // comes nearer instead.
    const Layout narrow({{{{0, 0.0}, {1, 45.0}}, {{3, 110.0}}}, {{{2, 100.0}}}}, {{0, 1, 0, {2}}});
    const auto kept = narrow.reached();
    EXPECT_EQ(kept[1], 45.0);
    EXPECT_TRUE(over(kept, 0, 1, kept[2], kept[2])) << "child at " << kept[2];

    // The mother is the only child of couple 4 and 5, right over her: she stays, and the
    // child's row comes nearer instead.
    const Layout held({{{{4, 30.0}, {5, 75.0}}},
                       {{{0, 0.0}, {1, 45.0}}},
                       {{{2, 100.0}}}},
                      {{0, 1, 0, {2}}, {4, 5, 0, {1}}});
    const auto brought = held.reached();
    EXPECT_EQ(brought[1], 45.0);
    EXPECT_TRUE(over(brought, 0, 1, brought[2], brought[2])) << "child at " << brought[2];

    // The child's partner 6 is the only child of couple 7 and 8, right over him: nothing
    // moves, as either way one family would lose what the other gains.
    const Layout stuck({{{{4, 30.0}, {5, 75.0}}, {{7, 130.0}, {8, 175.0}}},
                        {{{0, 0.0}, {1, 45.0}}},
                        {{{2, 100.0}, {6, 145.0}}}},
                       {{0, 1, 0, {2}}, {4, 5, 0, {1}}, {7, 8, 0, {6}}});
    EXPECT_EQ(stuck.reached(), stuck.x);
}

} // namespace
