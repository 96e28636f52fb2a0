// Fails the suite, rather than the user, when the installed OGDF cannot lay out a graph.
#include <gtest/gtest.h>

#include <ogdf/basic/GraphAttributes.h>
#include <ogdf/layered/SugiyamaLayout.h>

TEST(OgdfSmoke, LayeredLayoutPutsTheChildBelowBothParents)
{
    ogdf::Graph graph;
    const ogdf::node father = graph.newNode();
    const ogdf::node mother = graph.newNode();
    const ogdf::node child = graph.newNode();
    graph.newEdge(father, child);
    graph.newEdge(mother, child);

    ogdf::GraphAttributes attributes(graph, ogdf::GraphAttributes::nodeGraphics |
                                                ogdf::GraphAttributes::edgeGraphics);
    for (ogdf::node v : graph.nodes) {
        attributes.width(v) = 30.0;
        attributes.height(v) = 30.0;
    }

    ogdf::SugiyamaLayout layout;
    layout.maxThreads(1);
    layout.call(attributes);

    EXPECT_GT(attributes.y(child), attributes.y(father));
    EXPECT_GT(attributes.y(child), attributes.y(mother));
    EXPECT_DOUBLE_EQ(attributes.y(father), attributes.y(mother));
}
