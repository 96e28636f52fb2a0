// Properties of the layered drawing of small pedigrees.
#include "layout/kinship_layout.h"

#include <gtest/gtest.h>

#include <ogdf/basic/GraphAttributes.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

struct Box {
    double left, right, top, bottom;
};

// A pedigree as the drawing stage sees it: 30 x 30 nodes, one edge per parent-child link.
class LaidOutPedigree {
public:
    LaidOutPedigree(int people, const std::vector<std::pair<int, int>>& links)
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
    Box box(int i) const { return {x(i) - 15.0, x(i) + 15.0, y(i) - 15.0, y(i) + 15.0}; }
    int size() const { return static_cast<int>(nodes_.size()); }

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
        for (int i = 0; i < size(); ++i) {
            all.push_back(x(i));
            all.push_back(y(i));
        }
        for (std::size_t e = 0; e < edges_.size(); ++e) {
            for (const ogdf::DPoint& p : bends(static_cast<int>(e))) {
                all.push_back(p.m_x);
                all.push_back(p.m_y);
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
    EXPECT_GT(drawing.y(2), drawing.y(0));
    // Neighbouring layers: 30-unit boxes 20 apart.
    EXPECT_DOUBLE_EQ(drawing.y(2) - drawing.y(0), 50.0);
    EXPECT_EQ(drawing.bends(0).size(), 0u);
    EXPECT_EQ(drawing.bends(1).size(), 0u);
    EXPECT_GE(std::abs(drawing.x(0) - drawing.x(1)), 30.0 + kinship::node_distance);
}

TEST(KinshipLayout, OnlyEdgesThatSkipLayersBend)
{
    // 0 -> 1 -> 2 -> 3 and a grandparent link 0 -> 3 that skips two layers; 4 -> 3 keeps
    // the long edge from running straight down.
    const LaidOutPedigree drawing(5, {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {4, 3}});
    for (int e : {0, 1, 2, 4}) {
        EXPECT_EQ(drawing.bends(e).size(), 0u) << "edge " << e;
    }
    ASSERT_LE(drawing.bends(3).size(), 2u);
    drawing.expect_route_between(3, 0, 3);
}

TEST(KinshipLayout, EveryParentStandsAboveItsChildrenAndLayersKeepTheirGaps)
{
    // Three generations with a remarriage: 0 has children with 1 and with 2.
    const std::vector<std::pair<int, int>> links = {{0, 3}, {1, 3}, {0, 4}, {2, 4}, {3, 6},
                                                    {5, 6}, {4, 7}, {5, 7}, {0, 8}, {1, 8}};
    const LaidOutPedigree drawing(9, links);
    for (auto [parent, child] : links) {
        EXPECT_LT(drawing.y(parent), drawing.y(child)) << parent << " -> " << child;
    }
    std::map<double, std::vector<double>> layers;
    for (int i = 0; i < drawing.size(); ++i) {
        layers[drawing.y(i)].push_back(drawing.x(i));
    }
    for (auto& [y, xs] : layers) {
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 1; k < xs.size(); ++k) {
            EXPECT_GE(xs[k] - xs[k - 1], 30.0 + kinship::node_distance - 1e-9) << "layer " << y;
        }
    }
}

TEST(KinshipLayout, UnrelatedFamiliesDoNotOverlap)
{
    const LaidOutPedigree drawing(7, {{0, 2}, {1, 2}, {3, 5}, {4, 5}, {4, 6}});
    const std::vector<int> first = {0, 1, 2};
    const std::vector<int> second = {3, 4, 5, 6};
    for (int a : first) {
        for (int b : second) {
            const Box p = drawing.box(a);
            const Box q = drawing.box(b);
            const bool apart =
                p.right < q.left || q.right < p.left || p.bottom < q.top || q.bottom < p.top;
            EXPECT_TRUE(apart) << a << " and " << b;
        }
    }
}

TEST(KinshipLayout, ACycleIsLaidOutAndItsReversedEdgeRunsFromSourceToTarget)
{
    // 0 -> 1 -> 2 -> 0: someone recorded as an ancestor of its own parent.
    const LaidOutPedigree drawing(3, {{0, 1}, {1, 2}, {2, 0}});
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(std::isfinite(drawing.x(i)) && std::isfinite(drawing.y(i)));
    }
    EXPECT_LT(drawing.y(0), drawing.y(1));
    EXPECT_LT(drawing.y(1), drawing.y(2));
    // 2 -> 0 runs against the layering: its route goes up from its source to its target.
    drawing.expect_route_between(2, 2, 0);
}

TEST(KinshipLayout, SameInputGivesTheSameDrawing)
{
    const std::vector<std::pair<int, int>> links = {{0, 4}, {1, 4}, {2, 5}, {3, 5},  {4, 8},
                                                    {5, 8}, {6, 9}, {7, 9}, {8, 10}, {9, 10},
                                                    {0, 6}, {3, 7}, {1, 9}};
    const LaidOutPedigree first(11, links);
    const LaidOutPedigree second(11, links);
    EXPECT_EQ(first.coordinates(), second.coordinates());
}

TEST(KinshipLayout, EmptyGraphIsLeftAlone)
{
    const LaidOutPedigree drawing(0, {});
    EXPECT_TRUE(drawing.coordinates().empty());
}

} // namespace
