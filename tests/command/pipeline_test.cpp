// Every way the styled GML file can fail to load gets the load-failure message.
#include "command/pipeline.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace {

// Loads `path` as the styled GML file; returns what was printed on standard error, or
// "loaded".
std::string load(const std::string& path)
{
    ogdf::Graph graph;
    kinship::gml::KinshipAttributes attributes(graph);
    ::testing::internal::CaptureStderr();
    const bool loaded = kinship::load_first_gml(path, graph, attributes);
    const std::string err = ::testing::internal::GetCapturedStderr();
    return loaded ? "loaded" : err;
}

TEST(LoadFirstGml, EveryReadingFailureGetsTheLoadFailureMessage)
{
    const test_files::TempDir dir;
    const std::string path = (dir / "gml-ped.txt").string();
    const std::string failure = "Could not load " + path + " extension gml\n  ";
    EXPECT_EQ(load(path).rfind(failure, 0), 0u) << "missing file";

    const std::string node = "graph [\nnode [ id 5 ]\n";
    for (const std::string& text : {
             node + "node [ graphics [ w 1e5 ] ]\n]\n", // not a number form
             node + "node [ label 12ab ]\n]\n",         // number glued to text
             node + "node [ label ]\n]\n",              // key without value
             node + "\"text\" 1\n]\n",                  // value where a key goes
             node,                                      // list never closed
             node + "node [ id \"6\" ]\n]\n",           // id not an integer
             node + "edge [ source 5 ]\n]\n",           // edge without target
             node + "edge [ source 5 target 6 ]\n]\n",  // target beyond the ids
             node + "edge [ source 4 target 5 ]\n]\n",  // source below the ids
         }) {
        dir.write("gml-ped.txt", text);
        EXPECT_EQ(load(path).rfind(failure + "line ", 0), 0u) << text;
    }

    dir.write("gml-ped.txt", "directed 1\ngraph [\nnode [\nid 100000001\n]\nnode [\nid "
                             "199999999\n]\nedge [\nsource 100000001\ntarget 199999999\n]\n]\n");
    EXPECT_EQ(load(path), "loaded");
}

} // namespace
