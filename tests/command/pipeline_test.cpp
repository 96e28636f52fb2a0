// A styled GML file that does not load gets the load-failure message and the reason; the
// reasons themselves are the GML reader's tables.
#include "command/pipeline.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace {

TEST(LoadFirstGml, AFileThatDoesNotLoadGetsTheLoadFailureMessage)
{
    const test_files::TempDir dir;
    const std::string path = (dir / "gml-ped.txt").string();
    for (const char* text : {static_cast<const char*>(nullptr), "graph [\nnode [ id 5 ]\n"}) {
        if (text != nullptr) {
            test_files::write_file(path, text);
        }
        ogdf::Graph graph;
        kinship::gml::KinshipAttributes attributes(graph);
        const kinship::Status loaded = kinship::load_first_gml(path, graph, attributes);
        ASSERT_FALSE(loaded);
        EXPECT_EQ(loaded.failure().message.rfind("Could not load " + path + " extension gml\n  ",
                                                 0),
                  0u);
        EXPECT_EQ(loaded.failure().status, 1);
    }
}

} // namespace
