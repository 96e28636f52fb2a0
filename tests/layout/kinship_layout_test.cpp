// Properties of the layered drawing of small pedigrees.
#include "layout/kinship_layout.h"

#include <gtest/gtest.h>

#include <ogdf/basic/GraphAttributes.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

using Links = std::vector<std::pair<int, int>>;

// A pedigree as the drawing stage sees it: 30 x 30 nodes, one edge per parent-child link.
class LaidOutPedigree {
public:
    LaidOutPedigree(int people, const Links& links)
        : attributes_(graph_,
                      ogdf::GraphAttributes::nodeGraphics | ogdf::GraphAttributes::edgeGraphics)
    {
        for (int i = 0; i < people; ++i) {
            nodes_.push_back(graph_.newNode());
            attributes_.width(nodes_.back()) = 30.0;
            attributes_.height(nodes_.back()) = 30.0;
        }
        for (auto [parent, child] : links) {
            edges_.push_back(graph_.newEdge(nodes_[parent], nodes_[child]));
        }
        ogdf::SugiyamaLayout layout;
        kinship::configure_kinship_layout(layout);
        // Another draw from the generator between two layouts must not change the result.
        ogdf::randomNumber(0, 1000);
        kinship::run_kinship_layout(layout, attributes_);
    }

    double x(int i) const { return attributes_.x(nodes_[i]); }
    double y(int i) const { return attributes_.y(nodes_[i]); }
    const ogdf::DPolyline& bends(int e) const { return attributes_.bends(edges_[e]); }

    std::vector<double> coordinates() const
    {
        std::vector<double> all;
        for (ogdf::node v : nodes_) {
            all.insert(all.end(), {attributes_.x(v), attributes_.y(v)});
        }
        for (ogdf::edge e : edges_) {
            for (const ogdf::DPoint& p : attributes_.bends(e)) {
                all.insert(all.end(), {p.m_x, p.m_y});
            }
        }
        return all;
    }

private:
    ogdf::Graph graph_;
    ogdf::GraphAttributes attributes_;
    std::vector<ogdf::node> nodes_;
    std::vector<ogdf::edge> edges_;
};

TEST(KinshipLayout, CoupleShareALayerAboveTheirChild)
{
    const LaidOutPedigree drawing(3, {{0, 2}, {1, 2}});
    EXPECT_DOUBLE_EQ(drawing.y(0), drawing.y(1));
    // Neighbouring layers: 30-unit boxes 20 apart, and straight links between them.
    EXPECT_DOUBLE_EQ(drawing.y(2) - drawing.y(0), 30.0 + kinship::layer_distance);
    EXPECT_EQ(drawing.bends(0).size() + drawing.bends(1).size(), 0u);
}

TEST(KinshipLayout, ParentsAboveChildrenNoTwoBoxesCloserThanTheGapsSameDrawingEachTime)
{
    // Four generations with links that cross (0 has children with 1 and with someone not
    // recorded), and an unrelated family 11, 12 -> 13, 14 packed beside them.
    const Links links = {{0, 4},  {1, 4},   {2, 5},   {3, 5},   {4, 8},   {5, 8},
                         {6, 9},  {7, 9},   {8, 10},  {9, 10},  {0, 6},   {3, 7},
                         {1, 9},  {11, 13}, {12, 13}, {12, 14}};
    const LaidOutPedigree drawing(15, links);
    EXPECT_EQ(drawing.coordinates(), LaidOutPedigree(15, links).coordinates());
    EXPECT_TRUE(LaidOutPedigree(0, {}).coordinates().empty());
    for (auto [parent, child] : links) {
        EXPECT_LT(drawing.y(parent), drawing.y(child)) << parent << " -> " << child;
    }
    for (int a = 0; a < 15; ++a) {
        for (int b = a + 1; b < 15; ++b) {
            const double dx = std::abs(drawing.x(a) - drawing.x(b));
            const double dy = std::abs(drawing.y(a) - drawing.y(b));
            const double gap = dy == 0.0 ? kinship::node_distance : 0.0;
            EXPECT_TRUE(dx >= 30.0 + gap - 1e-9 || dy >= 30.0) << a << " and " << b;
        }
    }
}

TEST(KinshipLayout, ACycleIsLaidOutAndItsReversedEdgeRunsFromSourceToTarget)
{
    // 0 -> 1 -> 2 -> 0: someone recorded as an ancestor of its own parent.
    const LaidOutPedigree drawing(3, {{0, 1}, {1, 2}, {2, 0}});
    EXPECT_LT(drawing.y(0), drawing.y(1));
    EXPECT_LT(drawing.y(1), drawing.y(2));
    // 2 -> 0 runs against the layers: its route climbs from its source to its target.
    double previous = drawing.y(2);
    for (const ogdf::DPoint& p : drawing.bends(2)) {
        EXPECT_LT(p.m_y, previous);
        previous = p.m_y;
    }
    EXPECT_LT(drawing.y(0), previous);
}

} // namespace
