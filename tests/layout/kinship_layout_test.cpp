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

    // The bend points of edge e run strictly from the layer of `from` to that of `to`.
    void expect_route_between(int e, int from, int to) const
    {
        const double direction = y(to) > y(from) ? 1.0 : -1.0;
        double previous = y(from);
        for (const ogdf::DPoint& p : bends(e)) {
            EXPECT_GT((p.m_y - previous) * direction, 0.0) << "edge " << e;
            previous = p.m_y;
        }
        EXPECT_GT((y(to) - previous) * direction, 0.0) << "edge " << e;
    }

    std::vector<double> coordinates() const
    {
        std::vector<double> all;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            all.insert(all.end(), {x(static_cast<int>(i)), y(static_cast<int>(i))});
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
    // Neighbouring layers: 30-unit boxes 20 apart.
    EXPECT_DOUBLE_EQ(drawing.y(2) - drawing.y(0), 30.0 + kinship::layer_distance);
    EXPECT_EQ(drawing.bends(0).size() + drawing.bends(1).size(), 0u);
    EXPECT_GE(std::abs(drawing.x(0) - drawing.x(1)), 30.0 + kinship::node_distance);
}

TEST(KinshipLayout, ParentsStandAboveChildrenAndNoTwoBoxesComeCloserThanTheGaps)
{
    // Three generations with a remarriage (0 has children with 1 and with 2), and an
    // unrelated family 9, 10 -> 11, 12 that is packed beside them.
    const Links links = {{0, 3}, {1, 3}, {0, 4}, {2, 4}, {3, 6},   {5, 6},   {4, 7},
                         {5, 7}, {0, 8}, {1, 8}, {9, 11}, {10, 11}, {10, 12}};
    const LaidOutPedigree drawing(13, links);
    for (auto [parent, child] : links) {
        EXPECT_LT(drawing.y(parent), drawing.y(child)) << parent << " -> " << child;
    }
    for (int a = 0; a < 13; ++a) {
        for (int b = a + 1; b < 13; ++b) {
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
    drawing.expect_route_between(2, 2, 0);
}

TEST(KinshipLayout, SameInputGivesTheSameDrawingAndNothingIsNoDrawing)
{
    const Links links = {{0, 4}, {1, 4}, {2, 5}, {3, 5},  {4, 8}, {5, 8}, {6, 9},
                         {7, 9}, {8, 10}, {9, 10}, {0, 6}, {3, 7}, {1, 9}};
    EXPECT_EQ(LaidOutPedigree(11, links).coordinates(), LaidOutPedigree(11, links).coordinates());
    EXPECT_TRUE(LaidOutPedigree(0, {}).coordinates().empty());
}

} // namespace
