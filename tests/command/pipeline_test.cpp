#include "command/pipeline.h"

#include <gtest/gtest.h>

namespace {

TEST(LoadFirstGml, AFileThatDoesNotLoadGetsTheLoadFailureMessageAndTheReason)
{
    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    const kinship::Status loaded = kinship::load_first_gml("gml-absent.txt", graph, attributes);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.failure().message.rfind("Could not load gml-absent.txt extension gml\n  ", 0),
              0u);
}

} // namespace
